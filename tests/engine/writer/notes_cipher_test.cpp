// Encrypted tables checked without the engine: the cipher tables are read
// from the shared Paradox format notes and the notes' own decryption and
// password checksum are applied here, so a writer and reader that agreed on
// a wrong cipher would still be caught.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>

#include "pellory/engine/table_writer.h"
#include "pellory/testkit/little_endian.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::writer {
namespace {

using testkit::FileBytes;
using testkit::ScratchDir;
using testkit::U32;
using Bytes = std::vector<std::uint8_t>;
using Table = std::array<std::uint8_t, 256>;

struct CipherTables {
  Table a{}, b{}, c{};
};

// The eight hex lines after "Table X (sha256" in the notes.
bool ReadTable(const std::string& notes, const std::string& title, Table& out) {
  auto at = notes.find(title);
  if (at == std::string::npos) return false;
  at = notes.find("```", at);
  if (at == std::string::npos) return false;
  std::istringstream lines(notes.substr(at + 3));
  std::string hex, line;
  while (hex.size() < 512 && std::getline(lines, line)) hex += line;
  if (hex.size() != 512) return false;
  for (std::size_t i = 0; i < 256; ++i)
    out[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
  return true;
}

struct Key {
  std::uint8_t a, b, c, d;
};

Bytes Decrypt(const CipherTables& t, const std::uint8_t* in, Key k) {
  Bytes out(256);
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t y = static_cast<std::uint8_t>(t.c[x] - k.d);
    out[x] = in[y] ^ t.a[(x + k.a) & 0xFF] ^ t.b[(y + k.b) & 0xFF] ^ t.c[(y + k.c) & 0xFF];
  }
  return out;
}

void Encrypt(const CipherTables& t, Bytes& buf, Key k) {
  const Bytes in = buf;
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t y = static_cast<std::uint8_t>(t.c[x] - k.d);
    buf[y] = in[x] ^ t.a[(x + k.a) & 0xFF] ^ t.b[(y + k.b) & 0xFF] ^ t.c[(y + k.c) & 0xFF];
  }
}

// The notes' password checksum, step by step.
std::uint32_t Checksum(const CipherTables& t, const std::string& p) {
  Bytes buf(256);
  for (std::size_t i = 0; i < 256; ++i) buf[i] = static_cast<std::uint8_t>(p[i % p.size()]);
  Encrypt(t, buf, {buf[0], buf[1], buf[2], buf[3]});
  const std::uint32_t low = buf[0] | (buf[1] << 8);
  for (std::size_t i = 0; i < p.size(); ++i) buf[i] = static_cast<std::uint8_t>(p[i]);
  for (std::size_t i = p.size(); i < 256; ++i)
    buf[i] = t.a[buf[i - p.size()]] ^ static_cast<std::uint8_t>(i);
  Encrypt(t, buf, {buf[0], buf[20], buf[40], buf[255]});
  std::uint32_t even = 0, odd = 0;
  for (std::size_t i = 0; i < 256; i += 2) {
    even ^= buf[i];
    odd ^= buf[i + 1];
  }
  std::uint32_t high = even | (odd << 8);
  if (high == 0) high = 1;
  return (high << 16) | low;
}

class NotesCipherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream file(std::string(PELLORY_SHARED_DIR) + "/docs/paradox-format.md");
    if (!file) GTEST_SKIP() << "the shared Paradox format notes are absent";
    std::stringstream text;
    text << file.rdbuf();
    ASSERT_TRUE(ReadTable(text.str(), "Table A (sha256", tables_.a));
    ASSERT_TRUE(ReadTable(text.str(), "Table B (sha256", tables_.b));
    ASSERT_TRUE(ReadTable(text.str(), "Table C (sha256", tables_.c));
  }

  // Enough rows for more than one data block and memos in the leader, in
  // shared blocks and in blocks of their own.
  void Write(const std::filesystem::path& dir, const std::string& password) {
    TableWriter table(dir, "t", {{"Name", FieldType::Alpha, 40}, {"Note", FieldType::Memo, 20}},
                      {.password = password, .blockKiB = 1});
    for (int i = 0; i < 300; ++i)
      table.Append({"record " + std::to_string(i),
                    std::string(static_cast<std::size_t>(i * 37 % 3000), 'a' + i % 26)});
    table.Finish();
  }

  CipherTables tables_;
};

TEST_F(NotesCipherTest, PasswordChecksumOfTheNotesIsInTheHeader) {
  ASSERT_EQ(Checksum(tables_, "rparadox"), 0x8848F16Eu);  // the notes' own check
  for (const std::string& password :
       std::vector<std::string>{"mirabo", "x", "Secret pass", std::string(255, 'p')}) {
    ScratchDir dir;
    Write(dir.path(), password);
    EXPECT_EQ(U32(FileBytes(dir.path() / "t.DB"), 0x5C), Checksum(tables_, password)) << password;
  }
}

TEST_F(NotesCipherTest, DecryptedBlocksEqualThePlainTable) {
  ScratchDir plain, locked;
  Write(plain.path(), "");
  Write(locked.path(), "mirabo");
  const Bytes plainDb = FileBytes(plain.path() / "t.DB"),
              lockedDb = FileBytes(locked.path() / "t.DB");
  const Bytes plainMb = FileBytes(plain.path() / "t.MB"),
              lockedMb = FileBytes(locked.path() / "t.MB");
  ASSERT_EQ(lockedDb.size(), plainDb.size());
  ASSERT_EQ(lockedMb.size(), plainMb.size());
  const std::uint32_t value = U32(lockedDb, 0x5C);
  const auto k0 = static_cast<std::uint8_t>(value), k1 = static_cast<std::uint8_t>(value >> 8);
  const std::size_t header = lockedDb[2] | (lockedDb[3] << 8), block = 1024;
  ASSERT_GT((lockedDb.size() - header) / block, 1u) << "the test needs several data blocks";
  for (std::size_t n = 1; header + n * block <= lockedDb.size(); ++n)
    for (std::size_t u = 0; u < block / 256; ++u) {
      const std::size_t at = header + (n - 1) * block + u * 256;
      const Key key{k0, k1, static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(n)};
      ASSERT_EQ(Decrypt(tables_, &lockedDb[at], key), Bytes(&plainDb[at], &plainDb[at + 256]))
          << "block " << n << " unit " << u;
    }
  const Key blobKey{k0, k1, static_cast<std::uint8_t>(k0 + 1), static_cast<std::uint8_t>(k1 + 1)};
  for (std::size_t at = 0; at < lockedMb.size(); at += 256)
    ASSERT_EQ(Decrypt(tables_, &lockedMb[at], blobKey), Bytes(&plainMb[at], &plainMb[at + 256]))
        << "blob file offset " << at;
}

}  // namespace
}  // namespace pellory::writer
