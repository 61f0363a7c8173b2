// Shared pieces of the evaluator tests: the table's columns (the catalogue's
// and one of every other type), records made of values in the engine's
// format, and filters compiled by the program's compiler.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "filter_program.h"
#include "pellory/data/filter_compiler.h"

namespace pellory::engine::filter::testing {

struct Column {
  const char* name;
  std::uint16_t type;
  std::uint16_t units1;
  std::uint16_t units2;
  std::uint16_t valueSize;
};

inline const std::vector<Column>& Columns() {
  static const std::vector<Column> columns = {
      {"Font Name", PEL_TYPE_CHARACTER, 45, 0, 46},
      {"Filename", PEL_TYPE_CHARACTER, 13, 0, 14},
      {"Category", PEL_TYPE_CHARACTER, 55, 0, 56},
      {"Description", PEL_TYPE_BLOB, 10, 0, 4},
      {"Sample3", PEL_TYPE_BLOB, 10, 0, 4},
      {"Count", PEL_TYPE_SHORT, 0, 0, 2},
      {"Total", PEL_TYPE_INTEGER, 0, 0, 4},
      {"Price", PEL_TYPE_FLOAT, 0, 0, 8},
      {"Amount", PEL_TYPE_BCD, 32, 2, 18},
      {"Born", PEL_TYPE_DATE, 0, 0, 4},
      {"At", PEL_TYPE_TIME, 0, 0, 4},
      {"Stamp", PEL_TYPE_TIMESTAMP, 0, 0, 8},
      {"Flag", PEL_TYPE_BOOLEAN, 0, 0, 2},
      {"Code", PEL_TYPE_WORD, 0, 0, 2},
      {"Raw", PEL_TYPE_BYTES, 4, 0, 4},
      {"Fine", PEL_TYPE_BCD, 32, 4, 18},
  };
  return columns;
}

inline std::vector<pel_field_descriptor> Descriptors() {
  std::vector<pel_field_descriptor> out;
  for (const Column& c : Columns()) {
    pel_field_descriptor d{};
    d.number = static_cast<std::uint16_t>(out.size() + 1);
    std::strncpy(d.name, c.name, sizeof d.name - 1);
    d.logical_type = c.type;
    d.units1 = c.units1;
    d.units2 = c.units2;
    d.value_size = c.valueSize;
    out.push_back(d);
  }
  return out;
}

// The compiler's view of the same columns.
inline data::filter::FilterContext CompilerContext() {
  data::filter::FilterContext context;
  context.cursorName = "Table1";
  const auto descriptors = Descriptors();
  for (const pel_field_descriptor& d : descriptors)
    context.fields.push_back({d.name, d.number,
                              static_cast<data::filter::FilterDataKind>(d.logical_type), d.units1,
                              d.units2, true});
  return context;
}

inline std::vector<std::uint8_t> CompileText(const std::string& text,
                                             data::filter::FilterCompileOptions options = {}) {
  return data::filter::CompileFilter(text, options, CompilerContext());
}

inline std::unique_ptr<FilterProgram> Load(const std::vector<std::uint8_t>& buffer,
                                           std::string* error = nullptr) {
  const auto descriptors = Descriptors();
  std::string ignored;
  return FilterProgram::Check(buffer, descriptors, error ? error : &ignored);
}

template <typename T>
std::vector<std::uint8_t> Le(T value) {
  std::vector<std::uint8_t> out(sizeof value);
  std::memcpy(out.data(), &value, sizeof value);
  return out;
}

// A record: each field's value bytes, blank when absent.
class FakeRecord : public RecordFields {
 public:
  FakeRecord& Set(const std::string& column, std::vector<std::uint8_t> bytes) {
    values_[Number(column)] = std::move(bytes);
    return *this;
  }
  // A character field as the engine writes it: text, zero-padded.
  FakeRecord& Text(const std::string& column, const std::string& text) {
    const std::uint16_t number = Number(column);
    std::vector<std::uint8_t> bytes(Columns()[number - 1u].valueSize, 0);
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), bytes.size() - 1));
    values_[number] = bytes;
    return *this;
  }
  FakeRecord& Blob(const std::string& column, const std::string& bytes) {
    blobs_[Number(column)] = bytes;
    return Set(column, Le<std::uint32_t>(static_cast<std::uint32_t>(bytes.size())));
  }
  FakeRecord& Unreadable(const std::string& column) {
    unreadable_ = Number(column);
    return *this;
  }

  bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const override {
    if (number == unreadable_) return false;
    const auto it = values_.find(number);
    blank = it == values_.end();
    value = blank ? std::vector<std::uint8_t>(Columns()[number - 1u].valueSize, 0) : it->second;
    return true;
  }
  bool ReadBlob(std::uint16_t number, std::vector<std::uint8_t>& bytes,
                bool& blank) const override {
    const auto it = blobs_.find(number);
    blank = it == blobs_.end() || it->second.empty();
    bytes.assign(blank ? "" : it->second.data(),
                 blank ? "" : it->second.data() + it->second.size());
    return true;
  }

 private:
  static std::uint16_t Number(const std::string& column) {
    for (std::size_t i = 0; i < Columns().size(); ++i)
      if (column == Columns()[i].name) return static_cast<std::uint16_t>(i + 1);
    throw std::invalid_argument("no column " + column);
  }
  std::map<std::uint16_t, std::vector<std::uint8_t>> values_;
  std::map<std::uint16_t, std::string> blobs_;
  std::uint16_t unreadable_ = 0;
};

// Whether the record passes the compiled text.
inline bool Passes(const std::string& text, const FakeRecord& record,
                   data::filter::FilterCompileOptions options = {}) {
  std::string error;
  const auto program = Load(CompileText(text, options), &error);
  if (!program) throw std::runtime_error("refused: " + error);
  return program->Passes(record);
}

}  // namespace pellory::engine::filter::testing
