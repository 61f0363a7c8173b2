#include "pellory/data/columns.h"

#include <algorithm>
#include <cctype>

#include "pellory/data/blob_field.h"
#include "pellory/data/errors.h"
#include "pellory/data/field.h"
#include "text.h"

namespace pellory::data {
namespace {

TFieldType BlobTypeFor(int subtype) {
  switch (subtype) {
    case 22:
    case 33:
      return ftMemo;
    case 24:
      return ftFmtMemo;
    case 25:
      return ftParadoxOle;
    case 26:
      return ftGraphic;
    case 27:
      return ftDBaseOle;
    case 28:
      return ftTypedBinary;
    default:
      return ftBlob;
  }
}

bool SizeMustMatch(TFieldType type) {
  return type == ftString || type == ftFixedChar || type == ftBCD || type == ftBytes ||
         type == ftVarBytes || type == ftReference;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TFieldType ColumnDataType(const ColumnDescriptor& c) {
  switch (c.logicalType) {
    case 1:
      if (c.size == 0) return ftUnknown;
      return c.subtype == 31 ? ftFixedChar : ftString;
    case 2:
      return ftDate;
    case 3:
      return BlobTypeFor(c.subtype);
    case 4:
      return ftBoolean;
    case 5:
      return c.length == 2 ? ftSmallint : ftUnknown;
    case 6:
      return c.subtype == 29 ? ftAutoInc : ftInteger;
    case 7:
      return c.subtype == 21 ? ftCurrency : ftFloat;
    case 8:
      return ftBCD;
    case 9:
      return ftBytes;
    case 10:
      return ftTime;
    case 11:
      return ftDateTime;
    case 12:
      return c.length == 2 ? ftWord : ftUnknown;
    case 13:
      return ftInteger;
    case 15:
      return ftVarBytes;
    case 18:
    case 19:
      return ftLargeint;
    case 20:
      return ftADT;
    case 21:
      return ftArray;
    case 22:
      return ftReference;
    case 23:
      return ftDataSet;
    default:
      return ftUnknown;
  }
}

std::vector<ColumnDef> BuildColumnDefs(const std::vector<ColumnDescriptor>& columns) {
  std::vector<ColumnDef> defs;
  auto taken = [&defs](const std::string& name) {
    return std::any_of(defs.begin(), defs.end(),
                       [&](const ColumnDef& d) { return SameTextIgnoringCase(d.name, name); });
  };
  for (const ColumnDescriptor& c : columns) {
    ColumnDef def;
    def.dataType = ColumnDataType(c);
    def.number = c.number;
    if (def.dataType == ftBCD) def.decimals = c.decimals;
    if (def.dataType == ftString || def.dataType == ftFixedChar || def.dataType == ftBytes ||
        def.dataType == ftVarBytes || def.dataType >= ftADT)
      def.size = c.size;
    else if (BaseType(def.dataType) == ftBlob)
      def.size = c.length;
    def.name = c.name;
    for (int i = 1; taken(def.name); ++i) def.name = c.name + "_" + std::to_string(i);
    defs.push_back(std::move(def));
  }
  return defs;
}

TFieldType BaseType(TFieldType type) {
  switch (type) {
    case ftFixedChar:
      return ftString;
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return ftBlob;
    case ftCurrency:
      return ftFloat;
    case ftAutoInc:
      return ftInteger;
    case ftCursor:
    case ftWideString:
      return ftUnknown;
    default:
      return type;
  }
}

std::string DriverNameFor(const std::string& tableName,
                          const std::function<bool(const std::string&)>& fileExists) {
  const std::size_t dot = tableName.find_last_of('.');
  const std::size_t slash = tableName.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "PARADOX";
  const std::string ext = Upper(tableName.substr(dot));
  if (ext == ".DBF") {
    const std::string stem = tableName.substr(0, dot);
    for (const char* other : {".FPT", ".CDX", ".fpt", ".cdx"})
      if (fileExists(stem + other)) return "FOXPRO";
    return "DBASE";
  }
  if (ext == ".TXT") return "ASCIIDRV";
  return "PARADOX";
}

std::unique_ptr<TField> MakeFieldFor(const ColumnDef& c) {
  switch (BaseType(c.dataType)) {
    case ftString:
      return std::make_unique<TStringField>(c.name, c.dataType, c.size);
    case ftBlob:
      if (c.dataType == ftMemo) return std::make_unique<TMemoField>(c.name, c.size);
      if (c.dataType == ftGraphic) return std::make_unique<TGraphicField>(c.name, c.size);
      return std::make_unique<TBlobField>(c.name, c.dataType, c.size);
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftBCD:
    case ftLargeint:
      return std::make_unique<TNumberField>(c.name, c.dataType);
    case ftBoolean:
      return std::make_unique<TBooleanField>(c.name);
    case ftDate:
    case ftTime:
    case ftDateTime:
      return std::make_unique<TDateTimeField>(c.name, c.dataType);
    case ftBytes:
    case ftVarBytes:
      return std::make_unique<TBytesField>(c.name, c.dataType, c.size);
    case ftUnknown:
      return nullptr;
    default:
      return std::make_unique<TField>(c.name, c.dataType, c.size);
  }
}

const ColumnDef& MatchColumn(const TField& field, const std::vector<ColumnDef>& columns,
                             const std::string& cursorName) {
  const auto it = std::find_if(columns.begin(), columns.end(), [&](const ColumnDef& c) {
    return SameTextIgnoringCase(c.name, field.FieldName());
  });
  if (it == columns.end())
    DatabaseError(FormatMessage("Field '%s' not found", {field.DisplayName()}), cursorName);
  if (BaseType(field.DataType()) != BaseType(it->dataType))
    DatabaseError(FormatMessage("Type mismatch for field '%s', expecting: %s actual: %s",
                                {field.DisplayName(), FieldTypeName(field.DataType()),
                                 FieldTypeName(it->dataType)}),
                  cursorName);
  if (SizeMustMatch(field.DataType()) && field.Size() != it->size)
    DatabaseError(FormatMessage("Size mismatch for field '%s', expecting: %d actual: %d",
                                {field.DisplayName(), std::to_string(field.Size()),
                                 std::to_string(it->size)}),
                  cursorName);
  return *it;
}

}  // namespace pellory::data
