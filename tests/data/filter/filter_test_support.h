// Shared pieces of the filter compiler tests: the catalogue's fields plus a
// column of every other kind, and readers for the compiled bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "pellory/data/filter_compiler.h"
#include "pellory/testkit/engine_values.h"
#include "pellory/testkit/filter_columns.h"

namespace pellory::data::filter::testing {

// The kit's table as the compiler sees it, plus one field that is not a
// data field.
inline FilterContext CatalogueContext() {
  FilterContext context;
  context.cursorName = "Table1";
  for (const pel_field_descriptor& d : testkit::FilterDescriptors())
    context.fields.push_back(
        {d.name, d.number, static_cast<FilterDataKind>(d.logical_type), d.units1, d.units2, true});
  context.fields.push_back({"Calc", static_cast<std::uint16_t>(context.fields.size() + 1),
                            FilterDataKind::Integer, 0, 0, false});
  return context;
}

using testkit::Bcd;
using testkit::kDay1970;
using testkit::LittleEndian;

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
