// The filter compiler: turns a cursor's filter text into the engine's binary
// expression (format version 2) for that cursor's fields.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pellory::data::filter {

// What kind of data a field holds; the numbers are the engine's logical
// field types, which the compiled constants carry.
enum class FilterDataKind : std::uint16_t {
  Unknown = 0,
  String = 1,
  Date = 2,
  Blob = 3,
  Boolean = 4,
  SmallInt = 5,
  Integer = 6,
  Float = 7,
  BCD = 8,
  Bytes = 9,
  Time = 10,
  DateTime = 11,
  Word = 12,
};

struct FilterField {
  std::string name;          // UTF-8, matched without regard to case
  std::uint16_t number = 0;  // the column's number, from 1
  FilterDataKind kind = FilterDataKind::Unknown;
  int size = 0;
  int decimals = 0;         // BCD fields
  bool isDataField = true;  // false for calculated and lookup fields
};

struct FilterCompileOptions {
  bool caseInsensitive = false;   // foCaseInsensitive
  bool noPartialCompare = false;  // foNoPartialCompare
};

// Converts UTF-8 text to the table's character set.
using ToTableCharset = std::function<std::string(std::string_view utf8)>;

struct FilterContext {
  std::string cursorName;  // put in front of "Field '%s' not found"
  std::vector<FilterField> fields;
  ToTableCharset toTableCharset;  // empty: texts stay UTF-8
};

// A filter text that does not compile; what() is the message to show.
class FilterCompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Compiles the text; throws FilterCompileError. An empty text has no
// expression: the caller registers no filter for it.
std::vector<std::uint8_t> CompileFilter(std::string_view text, const FilterCompileOptions& options,
                                        const FilterContext& context);

}  // namespace pellory::data::filter
