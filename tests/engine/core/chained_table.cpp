#include "chained_table.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "table_cipher.h"

namespace pellory::engine::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kBlockSize = 1024;
constexpr std::uint16_t kRecordSize = 14;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

Bytes Header(const ChainedTable& t, std::uint32_t encryption, std::uint32_t records) {
  Bytes h(0x800, 0);
  const auto blocks = static_cast<std::uint16_t>(t.chain.size());
  Put16(h, 0x00, kRecordSize);
  Put16(h, 0x02, 0x800);
  h[0x04] = 2;
  h[0x05] = 1;
  Put16(h, 0x06, records);
  Put16(h, 0x0A, blocks);
  Put16(h, 0x0C, blocks);
  Put16(h, 0x0E, t.chain.front());
  Put16(h, 0x10, t.chain.back());
  Put16(h, 0x21, 2);
  Put16(h, 0x25, encryption & 0xFFFF);
  Put16(h, 0x27, encryption >> 16);
  h[0x39] = 10;  // 5.x
  Put16(h, 0x6A, 1252);
  h[0x78] = 0x01, h[0x79] = 10, h[0x7A] = 0x04, h[0x7B] = 4;
  std::size_t at = 0x7C + 4 + 8 + 79;
  for (const char* name : {"Name", "Number"}) {
    std::memcpy(&h[at], name, std::strlen(name));
    at += std::strlen(name) + 1;
  }
  return h;
}

}  // namespace

void WriteChainedTable(const std::filesystem::path& file, const ChainedTable& t) {
  const std::uint32_t encryption = PasswordChecksum(t.password);
  std::uint32_t total = 0;
  for (auto n : t.perBlock) total += n;
  const std::size_t blocks = t.chain.size();
  std::vector<Bytes> physical(blocks, Bytes(kBlockSize, 0));
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < blocks; ++i) {
    Bytes& b = physical[t.chain[i] - 1u];
    Put16(b, 0, i + 1 < blocks ? t.chain[i + 1] : 0);
    Put16(b, 2, i > 0 ? t.chain[i - 1] : 0);
    // An empty block's record area is -recordSize.
    Put16(b, 4, static_cast<std::uint16_t>((t.perBlock[i] - 1) * kRecordSize));
    for (std::uint16_t r = 0; r < t.perBlock[i]; ++r, ++next) {
      std::uint8_t* rec = &b[6 + r * kRecordSize];
      const std::string name = "row " + std::to_string(next);
      std::memcpy(rec, name.data(), name.size());
      const std::uint32_t v = next ^ 0x80000000u;
      rec[10] = static_cast<std::uint8_t>(v >> 24), rec[11] = static_cast<std::uint8_t>(v >> 16);
      rec[12] = static_cast<std::uint8_t>(v >> 8), rec[13] = static_cast<std::uint8_t>(v);
    }
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  const Bytes header = Header(t, encryption, total);
  out.write(reinterpret_cast<const char*>(header.data()), header.size());
  for (std::size_t n = 1; n <= blocks; ++n) {
    Bytes& b = physical[n - 1];
    if (encryption != 0)
      for (std::uint32_t u = 0; u < kBlockSize / 256; ++u)
        EncryptUnit(&b[u * 256], {static_cast<std::uint8_t>(encryption),
                                  static_cast<std::uint8_t>(encryption >> 8),
                                  static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(n)});
    out.write(reinterpret_cast<const char*>(b.data()), b.size());
  }
}

}  // namespace pellory::engine::test
