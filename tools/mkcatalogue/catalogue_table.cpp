#include "catalogue_table.h"

namespace pellory::mkcatalogue {
namespace {

using writer::Column;
using writer::FieldType;

// Descriptions of a few facts sit partly in the record (40 bytes of leader),
// the rest in the blob file; pictures live in the blob file only.
std::vector<Column> CatalogueColumns() {
  return {{"Font Name", FieldType::Alpha, 45},
          {"Description", FieldType::Memo, 50},
          {"Filename", FieldType::Alpha, 13},
          {"Category", FieldType::Alpha, 55},
          {"Sample3", FieldType::Graphic, 10}};
}

}  // namespace

CatalogueTable::CatalogueTable(const std::filesystem::path& directory, const std::string& password)
    : writer_(directory, kTableName, CatalogueColumns(), {.password = password}) {}

void CatalogueTable::Append(const CatalogueRecord& r) {
  writer_.Append({r.fontName, r.description, r.fileName, r.category, r.picture});
}

void CatalogueTable::Finish() {
  writer_.Finish();
}

}  // namespace pellory::mkcatalogue
