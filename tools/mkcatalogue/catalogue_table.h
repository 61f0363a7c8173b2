// The catalogue table: pelloryfont.DB and .MB with the five columns the
// program reads.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "pellory/data/catalogue.h"
#include "pellory/engine/table_writer.h"

namespace pellory::mkcatalogue {

inline constexpr std::string_view kTableName = data::kCatalogueTableName;
inline constexpr std::string_view kDefaultPassword = data::kCataloguePassword;

// Text in the table's code page; picture as stored (graphic header + BMP).
struct CatalogueRecord {
  std::string fontName, description, fileName, category, picture;
};

class CatalogueTable {
 public:
  // An empty password writes a plain table.
  CatalogueTable(const std::filesystem::path& directory, const std::string& password);
  void Append(CatalogueRecord record);
  void Finish();
  std::uint32_t records() const { return writer_.records(); }

 private:
  writer::TableWriter writer_;
};

}  // namespace pellory::mkcatalogue
