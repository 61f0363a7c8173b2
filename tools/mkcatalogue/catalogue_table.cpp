#include "catalogue_table.h"

namespace pellory::mkcatalogue {
namespace {

using writer::Column;
using writer::FieldType;

// The program's fields in their order. Descriptions of a few facts sit
// partly in the record (40 bytes of leader), the rest in the blob file;
// pictures live in the blob file only.
std::vector<Column> CatalogueColumns() {
  std::vector<Column> columns;
  for (const data::CatalogueField& field : data::kCatalogueFields) {
    const std::string name(field.name);
    switch (field.fieldClass) {
      case data::CatalogueFieldClass::String:
        columns.push_back({name, FieldType::Alpha, static_cast<std::uint8_t>(field.size)});
        break;
      case data::CatalogueFieldClass::Memo:
        columns.push_back({name, FieldType::Memo, 50});
        break;
      case data::CatalogueFieldClass::Graphic:
        columns.push_back({name, FieldType::Graphic, 10});
        break;
    }
  }
  return columns;
}

}  // namespace

CatalogueTable::CatalogueTable(const std::filesystem::path& directory, const std::string& password)
    : writer_(directory, std::string(kTableName), CatalogueColumns(), {.password = password}) {}

void CatalogueTable::Append(const CatalogueRecord& r) {
  writer_.Append({r.fontName, r.description, r.fileName, r.category, r.picture});
}

void CatalogueTable::Finish() {
  writer_.Finish();
}

}  // namespace pellory::mkcatalogue
