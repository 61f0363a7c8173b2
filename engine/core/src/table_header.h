// The header of a Paradox .DB file: its fixed part, the 4.x extension and the
// field descriptors and names. Parsing checks every size and offset.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pellory::engine {

struct ColumnLayout {
  std::uint8_t type = 0;     // Paradox type code
  std::uint8_t size = 0;     // descriptor size byte
  std::uint16_t width = 0;   // bytes in the record
  std::uint32_t offset = 0;  // offset in the record
  std::string rawName;       // in the table's code page
};

struct TableHeader {
  std::uint16_t recordSize = 0;
  std::uint16_t headerSize = 0;
  std::uint8_t fileType = 0;
  std::uint32_t blockSize = 0;
  std::uint32_t numRecords = 0;
  std::uint16_t fileBlocks = 0;
  std::uint16_t firstBlock = 0;
  std::uint16_t lastBlock = 0;
  std::uint16_t keyFields = 0;
  std::uint8_t version = 0;      // file version id: 3 (3.0) to 12 (7.x)
  std::uint32_t encryption = 0;  // 0: no password
  std::uint16_t codePage = 0;    // 0: unknown
  bool writeProtected = false;
  std::vector<ColumnLayout> columns;
};

// Parses the header bytes (the first headerSize bytes of the file, or as many
// as the file has). Throws EngineError(PEL_HEADER_DAMAGED or
// PEL_UNSUPPORTED_TABLE) naming `path`.
TableHeader ParseTableHeader(std::span<const std::uint8_t> bytes, const std::string& path);

// Bytes a column of this type and descriptor size takes in a record; 0 for
// an unknown type.
std::uint16_t ColumnWidth(std::uint8_t type, std::uint8_t size);

}  // namespace pellory::engine
