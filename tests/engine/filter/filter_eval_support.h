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
#include "pellory/testkit/engine_values.h"
#include "pellory/testkit/filter_columns.h"

namespace pellory::engine::filter::testing {

using testkit::Bcd;
using testkit::kDay1970;
using testkit::LittleEndian;

inline const std::vector<testkit::FilterColumn>& Columns() {
  return testkit::FilterColumns();
}
inline std::vector<pel_field_descriptor> Descriptors() {
  return testkit::FilterDescriptors();
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
    return Set(column, LittleEndian<std::uint32_t>(static_cast<std::uint32_t>(bytes.size())));
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
