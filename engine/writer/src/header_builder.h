// The .DB header of an unkeyed Paradox 7 table: the fixed part, the 4.x+
// block and the sequential part (field descriptors, table and field names,
// field numbers, sort order name).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pellory/engine/table_schema.h"

namespace pellory::writer {

struct HeaderFacts {
  std::vector<Column> columns;  // names already in the code page
  std::string tableName;        // "NAME.DB", in the code page
  std::uint16_t recordSize = 0;
  std::uint16_t headerSize = 0x800;
  std::uint8_t blockKiB = 4;
  std::uint32_t records = 0;
  std::uint16_t blocks = 0;             // data blocks, all in the chain
  std::uint32_t encryption = 0;         // 0: plain
  std::uint32_t lastAutoIncrement = 0;  // the largest value used
  std::uint16_t codePage = 1252;
};

// Bytes the header needs, rounded up to whole 2 KiB.
std::uint16_t HeaderSizeFor(const std::vector<Column>& columns);

std::vector<std::uint8_t> BuildHeader(const HeaderFacts& facts);

}  // namespace pellory::writer
