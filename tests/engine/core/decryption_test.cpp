// Decryption needs only the header's value; these tables' passwords are not
// published, so the driver's parts are used directly, past the password check.
#include <gtest/gtest.h>

#include <cstring>

#include "table_cipher.h"
#include "table_cursor.h"
#include "table_file.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

TEST(PasswordChecksum, KnownValues) {
  EXPECT_EQ(PasswordChecksum("rparadox"), 0x8848F16Eu);
  EXPECT_EQ(PasswordChecksum(""), 0u);
  // Passwords are compared byte for byte: case matters.
  EXPECT_NE(PasswordChecksum("Rparadox"), PasswordChecksum("rparadox"));
}

TEST(Cipher, DecryptUndoesEncrypt) {
  std::uint8_t unit[256], original[256];
  for (int i = 0; i < 256; ++i) unit[i] = original[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const CipherKey key{0x6E, 0xF1, 0x12, 0x34};
  EncryptUnit(unit, key);
  EXPECT_NE(std::memcmp(unit, original, 256), 0);
  DecryptUnit(unit, key);
  EXPECT_EQ(std::memcmp(unit, original, 256), 0);
}

TEST(Cipher, BlockStartMatchesTheWholeBlockDecrypted) {
  std::vector<std::uint8_t> block(1024);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 13 + 5);
  for (const std::uint32_t encryption : {0x8848F16Eu, 0x00000001u, 0xFFFFFFFFu}) {
    for (const std::uint32_t number : {1u, 2u, 255u, 256u, 0xFFFFu}) {
      std::vector<std::uint8_t> whole = block;
      DecryptDataBlock(whole, encryption, number);
      std::uint8_t start[256];
      DecryptBlockStart(block.data(), encryption, number, start);
      EXPECT_EQ(std::memcmp(start, whole.data(), sizeof start), 0)
          << "encryption " << encryption << ", block " << number;
    }
  }
}

std::unique_ptr<TableCursor> OpenPastPassword(const std::string& name) {
  auto file = std::make_unique<TableFile>((SampleDir() / name).string());
  file->LoadChain();
  return std::make_unique<TableCursor>(std::move(file), false);
}

TEST(Decryption, Paradox35TableReadsItsKnownRecords) {
  PELLORY_NEED_SAMPLES();
  auto cursor = OpenPastPassword("encrypted35.db");
  ASSERT_EQ(cursor->Count(), 2u);
  std::vector<std::uint8_t> record(cursor->Info().record_size);
  const std::pair<double, std::string> want[] = {{1.0, "Test 1"}, {2.0, "Test2"}};
  for (const auto& [number, text] : want) {
    ASSERT_EQ(cursor->Next(record.data()), PEL_OK);
    bool sawNumber = false, sawText = false;
    for (const auto& f : cursor->Fields()) {
      std::vector<std::uint8_t> value(f.value_size);
      if (cursor->FieldValue(f.number, record.data(), value.data())) continue;
      if (f.logical_type == PEL_TYPE_FLOAT) {
        double v = 0;
        std::memcpy(&v, value.data(), 8);
        EXPECT_EQ(v, number);
        sawNumber = true;
      } else if (f.logical_type == PEL_TYPE_CHARACTER) {
        EXPECT_EQ(std::string(reinterpret_cast<char*>(value.data())), text);
        sawText = true;
      }
    }
    EXPECT_TRUE(sawNumber && sawText);
  }
  EXPECT_EQ(cursor->Next(record.data()), PEL_AT_END);
}

TEST(Decryption, LargeMemosInEncryptedSingleBlobBlocks) {
  PELLORY_NEED_SAMPLES();
  auto cursor = OpenPastPassword("encryptedmemo.db");
  ASSERT_EQ(cursor->Count(), 2u);
  std::vector<std::uint8_t> record(cursor->Info().record_size);
  const std::uint32_t sizes[] = {55855, 494832};
  for (std::uint32_t size : sizes) {
    ASSERT_EQ(cursor->Next(record.data()), PEL_OK);
    std::uint16_t memo = 0;
    for (const auto& f : cursor->Fields())
      if (f.subtype == PEL_SUB_MEMO) memo = f.number;
    ASSERT_NE(memo, 0);
    ASSERT_EQ(cursor->BlobSize(memo, record.data()), size);
    cursor->BlobOpen(memo, record.data());
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t got = 0;
    EXPECT_EQ(cursor->BlobRead(memo, record.data(), 0, size, bytes.data(), &got), PEL_OK);
    EXPECT_EQ(got, size);
    // Decrypted text: LF line ends, printable bytes, no NUL.
    EXPECT_NE(std::find(bytes.begin(), bytes.end(), '\n'), bytes.end());
    EXPECT_EQ(std::find(bytes.begin(), bytes.end(), 0), bytes.end());
    // Reading the tail in a second piece gives the same bytes.
    std::vector<std::uint8_t> tail(1000);
    EXPECT_EQ(cursor->BlobRead(memo, record.data(), size - 600, 1000, tail.data(), &got),
              PEL_END_OF_BLOB);
    ASSERT_EQ(got, 600u);
    EXPECT_TRUE(std::equal(tail.begin(), tail.begin() + 600, bytes.end() - 600));
  }
}

}  // namespace
}  // namespace pellory::engine::test
