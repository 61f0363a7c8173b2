// Hands a cursor's filter text to the program's filter compiler, described by
// the cursor's field objects, and turns its failures into database errors.
#include "pellory/data/columns.h"
#include "pellory/data/errors.h"
#include "pellory/data/field.h"
#include "pellory/data/filter_compiler.h"
#include "pellory/data/table.h"

namespace pellory::data {

namespace {

filter::FilterDataKind KindOf(TFieldType type) {
  using filter::FilterDataKind;
  if (BaseType(type) == ftBlob) return FilterDataKind::Blob;
  switch (type) {
    case ftString:
    case ftFixedChar:
      return FilterDataKind::String;
    case ftDate:
      return FilterDataKind::Date;
    case ftBoolean:
      return FilterDataKind::Boolean;
    case ftSmallint:
      return FilterDataKind::SmallInt;
    case ftInteger:
    case ftAutoInc:
      return FilterDataKind::Integer;
    case ftFloat:
    case ftCurrency:
      return FilterDataKind::Float;
    case ftBCD:
      return FilterDataKind::BCD;
    case ftBytes:
    case ftVarBytes:
      return FilterDataKind::Bytes;
    case ftTime:
      return FilterDataKind::Time;
    case ftDateTime:
      return FilterDataKind::DateTime;
    case ftWord:
      return FilterDataKind::Word;
    default:
      return FilterDataKind::Unknown;
  }
}

// A BCD field's decimals come from its column: a BCD field object has no
// size of its own, and its constants must carry the column's decimals.
int DecimalsOf(const TField& field, const TTable* table) {
  if (table == nullptr || field.DataType() != ftBCD) return 0;
  for (const ColumnDef& column : table->FieldDefs())
    if (column.number == field.FieldNo()) return column.decimals;
  return 0;
}

filter::FilterContext ContextOf(const TDataSet& dataSet) {
  const auto* table = dynamic_cast<const TTable*>(&dataSet);
  filter::FilterContext context;
  context.cursorName = dataSet.Name();
  for (const TField* field : dataSet.Fields()) {
    filter::FilterField f;
    f.name = field->FieldName();
    f.number = static_cast<std::uint16_t>(field->FieldNo());
    f.kind = KindOf(field->DataType());
    f.size = field->Size();
    f.decimals = DecimalsOf(*field, table);
    f.isDataField = field->FieldKind() == fkData;
    context.fields.push_back(std::move(f));
  }
  if (table != nullptr)
    context.toTableCharset = [table](std::string_view text) {
      return table->TranslateToTable(std::string(text));
    };
  return context;
}

}  // namespace

TTable::FilterCompiler MakeDefaultFilterCompiler() {
  return [](const TDataSet& dataSet, const std::string& text, TFilterOptions options) {
    filter::FilterCompileOptions compileOptions;
    compileOptions.caseInsensitive = options.Contains(foCaseInsensitive);
    compileOptions.noPartialCompare = options.Contains(foNoPartialCompare);
    try {
      return filter::CompileFilter(text, compileOptions, ContextOf(dataSet));
    } catch (const filter::FilterCompileError& e) {
      // The compiler's messages are complete; "Field not found" already
      // carries the cursor's name.
      throw EDatabaseError(e.what());
    }
  };
}

}  // namespace pellory::data
