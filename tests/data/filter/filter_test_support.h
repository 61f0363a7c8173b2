// Shared pieces of the filter compiler tests: the catalogue's fields plus a
// column of every other kind, and readers for the compiled bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "pellory/data/filter_compiler.h"

namespace pellory::data::filter::testing {

inline FilterContext CatalogueContext() {
  using K = FilterDataKind;
  FilterContext context;
  context.cursorName = "Table1";
  context.fields = {
      {"Font Name", 1, K::String, 45, 0, true}, {"Filename", 2, K::String, 13, 0, true},
      {"Category", 3, K::String, 55, 0, true},  {"Description", 4, K::Blob, 10, 0, true},
      {"Sample3", 5, K::Blob, 10, 0, true},     {"Count", 6, K::SmallInt, 0, 0, true},
      {"Total", 7, K::Integer, 0, 0, true},     {"Price", 8, K::Float, 0, 0, true},
      {"Amount", 9, K::BCD, 32, 2, true},       {"Born", 10, K::Date, 0, 0, true},
      {"At", 11, K::Time, 0, 0, true},          {"Stamp", 12, K::DateTime, 0, 0, true},
      {"Flag", 13, K::Boolean, 0, 0, true},     {"Code", 14, K::Word, 0, 0, true},
      {"Raw", 15, K::Bytes, 4, 0, true},        {"Calc", 16, K::Integer, 0, 0, false},
  };
  return context;
}

inline std::vector<std::uint8_t> Compile(const std::string& text,
                                         FilterCompileOptions options = {}) {
  return CompileFilter(text, options, CatalogueContext());
}

inline std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint16_t v = 0;
  if (at + 2 <= b.size()) std::memcpy(&v, b.data() + at, 2);
  return v;
}
inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint32_t v = 0;
  if (at + 4 <= b.size()) std::memcpy(&v, b.data() + at, 4);
  return v;
}

// A node of a compiled buffer, by its offset in the node area.
struct NodeView {
  const std::vector<std::uint8_t>& buffer;
  std::size_t offset;
  std::size_t At() const { return 10 + offset; }
  std::uint32_t Class() const { return U32(buffer, At()); }
  std::uint32_t Op() const { return U32(buffer, At() + 4); }
  std::uint16_t Operand(int i) const {
    return U16(buffer, At() + 8 + 2 * static_cast<std::size_t>(i));
  }
  NodeView Child(int i) const { return {buffer, Operand(i)}; }
  // The literal that operand i refers to, as bytes.
  std::vector<std::uint8_t> Literal(int i, std::size_t size) const {
    const std::size_t at = U16(buffer, 8) + Operand(i);
    if (at + size > buffer.size()) return {};
    return {buffer.begin() + static_cast<long>(at), buffer.begin() + static_cast<long>(at + size)};
  }
  std::string Text(int i) const {
    const std::size_t at = U16(buffer, 8) + Operand(i);
    std::string text;
    for (std::size_t k = at; k < buffer.size() && buffer[k] != 0; ++k)
      text += static_cast<char>(buffer[k]);
    return text;
  }
};

inline NodeView Root(const std::vector<std::uint8_t>& buffer) {
  return {buffer, 0};
}

}  // namespace pellory::data::filter::testing
