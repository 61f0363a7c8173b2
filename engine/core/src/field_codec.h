// Column descriptors and field values: from Paradox's stored form to the
// engine's documented value format (pellory/engine.h).
#pragma once

#include <cstdint>

#include "pellory/engine.h"
#include "table_header.h"

namespace pellory::engine {

// Logical type, subtype, units and sizes of a column; name left empty.
pel_field_descriptor DescribeColumn(const ColumnLayout& column, std::uint16_t number);

// Writes the value of `column` in `record` to out (descriptor.value_size
// bytes); answers whether the value is blank (out then all zero).
bool DecodeField(const ColumnLayout& column, const pel_field_descriptor& descriptor,
                 const std::uint8_t* record, std::uint8_t* out);

// The 10-byte blob descriptor at the end of a blob column, and its leader.
struct BlobRef {
  std::uint32_t length = 0;
  std::uint32_t pointer = 0;  // bits 8-31 block offset, bits 0-7 slot index
  std::uint16_t leaderSize = 0;
  const std::uint8_t* leader = nullptr;
};

BlobRef ReadBlobRef(const ColumnLayout& column, const std::uint8_t* record);

}  // namespace pellory::engine
