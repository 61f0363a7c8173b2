#include "bench_table.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "table_cipher.h"

namespace pellory::bench {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kHeaderSize = 0x800;
constexpr std::uint32_t kBlockSize = 4096;
constexpr std::uint8_t kMemoSize = 60;  // 50 bytes of leader, then the descriptor

struct Column {
  std::uint8_t type, size;
  const char* name;
};
constexpr Column kColumns[] = {{0x01, 45, "Font Name"},
                               {0x0C, kMemoSize, "Description"},
                               {0x01, 13, "Filename"},
                               {0x01, 55, "Category"},
                               {0x10, 10, "Sample3"}};
constexpr std::uint16_t kRecordSize = 45 + kMemoSize + 13 + 55 + 10;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

void PutText(std::uint8_t* at, const std::string& text, std::size_t width) {
  std::memcpy(at, text.data(), std::min(text.size(), width));
}

Bytes Header(std::uint32_t records, std::uint16_t blocks, std::uint32_t encryption) {
  Bytes h(kHeaderSize, 0);
  Put16(h, 0x00, kRecordSize);
  Put16(h, 0x02, kHeaderSize);
  h[0x04] = 2;  // unkeyed
  h[0x05] = kBlockSize / 1024;
  Put32(h, 0x06, records);
  Put16(h, 0x0A, blocks);
  Put16(h, 0x0C, blocks);
  Put16(h, 0x0E, blocks ? 1 : 0);
  Put16(h, 0x10, blocks);
  Put16(h, 0x21, 5);
  Put32(h, 0x25, 0xFF00FF00u);
  h[0x39] = 12;
  Put16(h, 0x58, 0x010C);
  Put16(h, 0x5A, 0x010C);
  Put32(h, 0x5C, encryption);
  Put16(h, 0x6A, 1252);
  std::size_t at = 0x78;
  for (const auto& c : kColumns) {
    h[at++] = c.type;
    h[at++] = c.size;
  }
  at += 4 + 4 * 5 + 261;  // pointers and the table name, left zero
  for (const auto& c : kColumns) {
    std::memcpy(&h[at], c.name, std::strlen(c.name));
    at += std::strlen(c.name) + 1;
  }
  return h;
}

void Record(std::uint8_t* r, const CatalogueRow& row) {
  PutText(r, row.fontName, 45);
  std::uint8_t* memo = r + 45;
  const std::size_t length = std::min<std::size_t>(row.description.size(), kMemoSize - 10);
  PutText(memo, row.description, length);
  Bytes tail(10, 0);
  Put32(tail, 4, static_cast<std::uint32_t>(length));
  std::memcpy(memo + kMemoSize - 10, tail.data(), 10);
  PutText(r + 45 + kMemoSize, row.fileName, 13);
  PutText(r + 45 + kMemoSize + 13, row.category, 55);
}

}  // namespace

std::vector<CatalogueRow> MakeCatalogueRows(std::uint32_t count, std::uint32_t wingTail) {
  static const char* kCategories[] = {"Capitals Serif",    "Capitals Sans Serif", "Handwriting",
                                      "Italic Sans Serif", "Italic Serif",        "Normal Serif",
                                      "Normal Sans Serif"};
  std::vector<CatalogueRow> rows;
  rows.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    rows.push_back({"Font number " + n, "A typeface for bench row " + n, "F" + n + ".TTF",
                    i + wingTail >= count ? "Wingdings and symbols" : kCategories[i % 7]});
  }
  return rows;
}

void WriteCatalogueTable(const std::string& directory, const std::string& name,
                         const std::vector<CatalogueRow>& rows) {
  const std::uint32_t perBlock = (kBlockSize - 6) / kRecordSize;
  const auto blocks = static_cast<std::uint32_t>((rows.size() + perBlock - 1) / perBlock);
  if (blocks > 0xFFFF) throw std::runtime_error("too many rows for one table");
  const std::uint32_t encryption = engine::PasswordChecksum(kBenchPassword);
  std::ofstream db(directory + "/" + name + ".DB", std::ios::binary | std::ios::trunc);
  const Bytes header = Header(static_cast<std::uint32_t>(rows.size()),
                              static_cast<std::uint16_t>(blocks), encryption);
  db.write(reinterpret_cast<const char*>(header.data()), header.size());
  for (std::uint32_t n = 1; n <= blocks; ++n) {
    Bytes block(kBlockSize, 0);
    const std::size_t first = (n - 1) * static_cast<std::size_t>(perBlock);
    const std::size_t count = std::min<std::size_t>(perBlock, rows.size() - first);
    Put16(block, 0, n < blocks ? n + 1 : 0);
    Put16(block, 2, n - 1);
    Put16(block, 4, static_cast<std::uint32_t>((count - 1) * kRecordSize));
    for (std::size_t i = 0; i < count; ++i) Record(&block[6 + i * kRecordSize], rows[first + i]);
    const engine::CipherKey base{static_cast<std::uint8_t>(encryption),
                                 static_cast<std::uint8_t>(encryption >> 8), 0,
                                 static_cast<std::uint8_t>(n)};
    for (std::uint32_t u = 0; u < kBlockSize / 256; ++u) {
      engine::CipherKey key = base;
      key.c = static_cast<std::uint8_t>(u);
      engine::EncryptUnit(&block[u * 256], key);
    }
    db.write(reinterpret_cast<const char*>(block.data()), block.size());
  }
  // The blob file: its header block only (no value is stored outside a record).
  Bytes mb(4096, 0);
  mb[0] = 0;
  Put16(mb, 1, 1);
  for (std::size_t u = 0; u < mb.size(); u += 256) {
    const engine::CipherKey key{static_cast<std::uint8_t>(encryption),
                                static_cast<std::uint8_t>(encryption >> 8),
                                static_cast<std::uint8_t>((encryption & 0xFF) + 1),
                                static_cast<std::uint8_t>(((encryption >> 8) & 0xFF) + 1)};
    engine::EncryptUnit(&mb[u], key);
  }
  std::ofstream(directory + "/" + name + ".MB", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(mb.data()), mb.size());
}

}  // namespace pellory::bench
