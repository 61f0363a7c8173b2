#include "pellory/engine/table_schema.h"

namespace pellory::writer {

bool IsBlobType(FieldType type) {
  switch (type) {
    case FieldType::Memo:
    case FieldType::Binary:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
      return true;
    default:
      return false;
  }
}

std::uint16_t ColumnWidth(const Column& column) {
  switch (column.type) {
    case FieldType::Alpha:
    case FieldType::Bytes:
      return column.size;
    case FieldType::Logical:
      return 1;
    case FieldType::Short:
      return 2;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::Time:
    case FieldType::AutoIncrement:
      return 4;
    case FieldType::Money:
    case FieldType::Number:
    case FieldType::Timestamp:
      return 8;
    case FieldType::Bcd:
      return 17;
    default:
      return IsBlobType(column.type) ? column.size : 0;
  }
}

void CheckColumn(const Column& column) {
  const auto fail = [&](const char* why) {
    throw SchemaError("column '" + column.name + "': " + why);
  };
  if (column.name.empty()) fail("a column needs a name");
  if (column.name.size() > 25) fail("names are at most 25 bytes long");
  switch (column.type) {
    case FieldType::Alpha:
    case FieldType::Bytes:
      if (column.size == 0) fail("the size must be 1 to 255");
      break;
    case FieldType::Bcd:
      if (column.size > 32) fail("at most 32 decimals");
      break;
    case FieldType::Memo:
    case FieldType::FormattedMemo:
      if (column.size < 11 || column.size > 250) fail("memo sizes are 11 to 250");
      break;
    case FieldType::Binary:
    case FieldType::Ole:
    case FieldType::Graphic:
      if (column.size < 10 || column.size > 250) fail("blob sizes are 10 to 250");
      break;
    default:
      if (ColumnWidth(column) == 0) fail("unknown field type");
  }
}

}  // namespace pellory::writer
