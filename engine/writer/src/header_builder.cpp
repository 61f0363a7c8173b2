#include "header_builder.h"

#include <algorithm>
#include <cstring>

#include "byte_writer.h"

namespace pellory::writer {
namespace {

constexpr std::size_t kSequentialStart = 0x78;
constexpr std::size_t kTableNameBytes = 261;  // Paradox 7 headers
constexpr char kSortOrder[] = "ascii";

std::size_t SequentialBytes(const std::vector<Column>& columns) {
  const std::size_t n = columns.size();
  std::size_t names = 0;
  for (const auto& c : columns) names += c.name.size() + 1;
  return 2 * n + 4 + 4 * n + kTableNameBytes + names + 2 * n + sizeof kSortOrder;
}

void PutFixedPart(std::vector<std::uint8_t>& h, const HeaderFacts& f) {
  const auto fields = static_cast<std::uint16_t>(f.columns.size());
  Put16(h, 0x00, f.recordSize);
  Put16(h, 0x02, f.headerSize);
  h[0x04] = 2;  // unkeyed data table
  h[0x05] = f.blockKiB;
  Put32(h, 0x06, f.records);
  Put16(h, 0x0A, f.blocks);
  Put16(h, 0x0C, f.blocks);
  Put16(h, 0x0E, f.blocks ? 1 : 0);
  Put16(h, 0x10, f.blocks);
  Put16(h, 0x21, fields);
  Put16(h, 0x23, 0);  // no key fields
  // 4.x and later tables keep the value at 5C and this marker here.
  Put32(h, 0x25, 0xFF00FF00u);
  h[0x29] = 0;  // the "ascii" sort order
  h[0x39] = 12;
  Put16(h, 0x3A, f.blocks);
  Put32(h, 0x49, f.lastAutoIncrement);
  Put16(h, 0x4D, 0);  // no free blocks
  // Paradox fills in the header bytes it used; some readers check it.
  Put16(h, 0x51, static_cast<std::uint32_t>(kSequentialStart + SequentialBytes(f.columns)));
  Put16(h, 0x58, 0x010C);
  Put16(h, 0x5A, 0x010C);
  Put32(h, 0x5C, f.encryption);
  Put16(h, 0x64, fields + 1u);
  Put16(h, 0x68, fields);
  Put16(h, 0x6A, f.codePage);
}

}  // namespace

std::uint16_t HeaderSizeFor(const std::vector<Column>& columns) {
  const std::size_t needed = kSequentialStart + SequentialBytes(columns);
  return static_cast<std::uint16_t>((needed + 0x7FF) / 0x800 * 0x800);
}

std::vector<std::uint8_t> BuildHeader(const HeaderFacts& f) {
  std::vector<std::uint8_t> h(f.headerSize, 0);
  PutFixedPart(h, f);
  std::size_t at = kSequentialStart;
  for (const auto& c : f.columns) {
    h[at++] = static_cast<std::uint8_t>(c.type);
    // A Bcd column's descriptor holds its decimals, not its width.
    h[at++] = static_cast<std::uint8_t>(c.type == FieldType::Bcd ? c.size : ColumnWidth(c));
  }
  at += 4 + 4 * f.columns.size();  // run-time pointers, zero on disk
  std::memcpy(&h[at], f.tableName.data(), std::min(f.tableName.size(), kTableNameBytes - 1));
  at += kTableNameBytes;
  for (const auto& c : f.columns) {
    std::memcpy(&h[at], c.name.data(), c.name.size());
    at += c.name.size() + 1;
  }
  for (std::size_t i = 0; i < f.columns.size(); ++i, at += 2) Put16(h, at, i + 1);
  std::memcpy(&h[at], kSortOrder, sizeof kSortOrder);
  return h;
}

}  // namespace pellory::writer
