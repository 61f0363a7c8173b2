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

CatalogueTable::CatalogueTable(const std::filesystem::path& directory, const std::string& password,
                               const std::filesystem::path& extendBlobFile)
    : writer_(directory, std::string(kTableName), CatalogueColumns(),
              {.password = password, .extendBlobFile = extendBlobFile}) {}

RecordBlobs CatalogueTable::Append(CatalogueRecord r) {
  // Moved in one by one: a braced list would copy the picture.
  writer::Row row;
  row.reserve(5);
  row.emplace_back(std::move(r.fontName));
  row.emplace_back(std::move(r.description));
  row.emplace_back(std::move(r.fileName));
  row.emplace_back(std::move(r.category));
  row.emplace_back(std::move(r.picture));
  const std::vector<writer::BlobPointer> blobs = writer_.Append(row);
  return {blobs[1], blobs[4]};
}

void CatalogueTable::Finish() {
  writer_.Finish();
}

}  // namespace pellory::mkcatalogue
