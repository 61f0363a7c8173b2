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
// The description and the picture may instead be values the blob file
// added to already holds (writer::StoredBlob).
struct CatalogueRecord {
  std::string fontName;
  writer::Value description;
  std::string fileName, category;
  writer::Value picture;
};

// Where the blob file holds a record's description and picture.
struct RecordBlobs {
  writer::BlobPointer description, picture;
};

class CatalogueTable {
 public:
  // An empty password writes a plain table. `extendBlobFile`: the blob file
  // of the catalogue being updated, to add to instead of writing one beside
  // the table.
  CatalogueTable(const std::filesystem::path& directory, const std::string& password,
                 const std::filesystem::path& extendBlobFile = {});
  RecordBlobs Append(CatalogueRecord record);
  void Finish();
  std::uint32_t records() const { return writer_.records(); }

 private:
  writer::TableWriter writer_;
};

}  // namespace pellory::mkcatalogue
