// Column definitions: what the engine says about each column of a table,
// turned into data types and sizes, and the binding of field objects to them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pellory/data/types.h"

namespace pellory::data {

class TField;

// One column as the engine describes it.
struct ColumnDescriptor {
  int number = 0;
  std::string name;
  int logicalType = 0;
  int subtype = 0;
  int size = 0;      // the column length (characters, bytes) as declared
  int length = 0;    // bytes the column takes in the record
  int decimals = 0;  // BCD: digits after the decimal point
};

struct ColumnDef {
  std::string name;
  TFieldType dataType = ftUnknown;
  int size = 0;
  int number = 0;
  int decimals = 0;  // BCD; filter constants compared with the column need it
};

// One definition per column, in table order; a name already taken by an
// earlier column becomes "name_1", "name_2", ...
std::vector<ColumnDef> BuildColumnDefs(const std::vector<ColumnDescriptor>& columns);

TFieldType ColumnDataType(const ColumnDescriptor& column);

// The type a field and its column must share.
TFieldType BaseType(TFieldType type);

// The engine's driver for a table name: from its extension. fileExists tells
// whether a file of a given name exists (for telling FOXPRO from DBASE).
std::string DriverNameFor(const std::string& tableName,
                          const std::function<bool(const std::string&)>& fileExists);

// A field object of the class that belongs to the column's type; nothing for
// a column of unknown type.
std::unique_ptr<TField> MakeFieldFor(const ColumnDef& column);

// Checks one field against the columns and returns its column; the errors
// carry the cursor's name.
const ColumnDef& MatchColumn(const TField& field, const std::vector<ColumnDef>& columns,
                             const std::string& cursorName);

}  // namespace pellory::data
