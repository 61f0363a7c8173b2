#include "table_header.h"

#include "byte_reader.h"
#include "engine_error.h"
#include "pellory/engine.h"

namespace pellory::engine {
namespace {

constexpr std::size_t kFixedPart = 0x58;
constexpr std::size_t kExtendedPart = 0x78;
constexpr std::uint32_t kLookElsewhere = 0xFF00FF00;

[[noreturn]] void Damaged(const std::string& path, const std::string& detail) {
  throw EngineError(PEL_HEADER_DAMAGED, path, detail);
}

void ParseFixedPart(std::span<const std::uint8_t> b, TableHeader& h, const std::string& path) {
  h.recordSize = ReadU16Le(b, 0x00);
  h.headerSize = ReadU16Le(b, 0x02);
  h.fileType = b[0x04];
  const std::uint8_t maxTableSize = b[0x05];
  h.numRecords = ReadU32Le(b, 0x06);
  h.fileBlocks = ReadU16Le(b, 0x0C);
  h.firstBlock = ReadU16Le(b, 0x0E);
  h.lastBlock = ReadU16Le(b, 0x10);
  h.keyFields = ReadU16Le(b, 0x23);
  h.encryption = ReadU32Le(b, 0x25);
  h.writeProtected = b[0x38] != 0;
  h.version = b[0x39];
  if (h.fileType != 0 && h.fileType != 2)
    throw EngineError(PEL_UNSUPPORTED_TABLE, path,
                      "not a data table (file type " + std::to_string(h.fileType) + ")");
  if (maxTableSize < 1 || maxTableSize > 32)
    Damaged(path, "block size of " + std::to_string(maxTableSize) + " KiB");
  h.blockSize = maxTableSize * 0x400u;
  if (h.version < 3 || h.version > 15) Damaged(path, "file version " + std::to_string(h.version));
  if (h.recordSize == 0) Damaged(path, "record size 0");
  if (h.recordSize > h.blockSize - 6)
    Damaged(path, "record size " + std::to_string(h.recordSize) + " larger than a block");
}

std::size_t ParseDescriptors(std::span<const std::uint8_t> b, TableHeader& h, std::size_t at,
                             std::uint16_t count, const std::string& path) {
  if (b.size() < at || (b.size() - at) / 2 < count) Damaged(path, "field descriptors cut short");
  std::uint32_t offset = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    ColumnLayout c;
    c.type = b[at + 2 * i];
    c.size = b[at + 2 * i + 1];
    c.width = ColumnWidth(c.type, c.size);
    if (c.width == 0)
      Damaged(path, "field " + std::to_string(i + 1) + " has type " + std::to_string(c.type) +
                        " and size " + std::to_string(c.size));
    c.offset = offset;
    offset += c.width;
    h.columns.push_back(std::move(c));
  }
  if (offset != h.recordSize)
    Damaged(path, "fields take " + std::to_string(offset) + " bytes, records " +
                      std::to_string(h.recordSize));
  return at + 2u * count;
}

void ParseNames(std::span<const std::uint8_t> b, TableHeader& h, std::size_t at,
                const std::string& path) {
  for (auto& column : h.columns) {
    std::size_t end = at;
    while (end < b.size() && b[end] != 0) ++end;
    if (end >= b.size()) Damaged(path, "field names cut short");
    column.rawName.assign(reinterpret_cast<const char*>(b.data() + at), end - at);
    at = end + 1;
  }
}

}  // namespace

std::uint16_t ColumnWidth(std::uint8_t type, std::uint8_t size) {
  switch (type) {
    case 0x01:
    case 0x18:  // alpha, bytes
      return size;
    case 0x02:
    case 0x04:
    case 0x14:
    case 0x16:  // date, long, time, autoinc
      return size == 4 ? 4 : 0;
    case 0x03:
      return size == 2 ? 2 : 0;
    case 0x05:
    case 0x06:
    case 0x15:  // money, number, timestamp
      return size == 8 ? 8 : 0;
    case 0x09:
      return size == 1 ? 1 : 0;
    case 0x0C:
    case 0x0D:
    case 0x0E:
    case 0x0F:
    case 0x10:  // blobs
      return size >= 10 ? size : 0;
    case 0x17:
      return size <= 32 ? 17 : 0;
    default:
      return 0;
  }
}

TableHeader ParseTableHeader(std::span<const std::uint8_t> b, const std::string& path) {
  if (b.size() < kFixedPart) Damaged(path, "file shorter than a table header");
  TableHeader h;
  ParseFixedPart(b, h, path);
  if (h.headerSize < kFixedPart || h.headerSize > b.size())
    Damaged(path, "header size " + std::to_string(h.headerSize));
  b = b.first(h.headerSize);
  const std::uint16_t fields = ReadU16Le(b, 0x21);
  if (fields == 0 || fields > 255) Damaged(path, std::to_string(fields) + " fields");
  if (h.keyFields > fields) Damaged(path, "more key fields than fields");

  const bool extended = h.version >= 5;
  if (extended) {
    if (b.size() < kExtendedPart) Damaged(path, "file shorter than a table header");
    if (h.encryption == kLookElsewhere) h.encryption = ReadU32Le(b, 0x5C);
    h.codePage = ReadU16Le(b, 0x6A);
  } else {
    h.codePage = 437;  // 3.x tables name no code page
  }
  std::size_t at = ParseDescriptors(b, h, extended ? kExtendedPart : kFixedPart, fields, path);
  const std::size_t tableNameSize = h.version >= 12 ? 261 : 79;
  at += 4 + 4u * fields + tableNameSize;
  if (at > b.size()) Damaged(path, "field names missing");
  ParseNames(b, h, at, path);
  return h;
}

}  // namespace pellory::engine
