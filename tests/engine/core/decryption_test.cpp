// Decryption needs only the header's value; these tables' passwords are not
// published, so the driver's parts are used directly, past the password check.
#include <gtest/gtest.h>

#include <algorithm>
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

// The blob file's units, encrypted with the key's work done once, are the
// units encrypted one by one with the blob key, and decrypt back.
TEST(Cipher, BlobUnitsEncryptAsEachUnitAlone) {
  std::vector<std::uint8_t> plain(3 * 256);
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<std::uint8_t>(i * 29 + 1);
  for (const std::uint32_t encryption : {0x8848F16Eu, 0x000000FFu, 0x0000FF00u, 0xFFFFFFFFu}) {
    const auto k0 = static_cast<std::uint8_t>(encryption);
    const auto k1 = static_cast<std::uint8_t>(encryption >> 8);
    std::vector<std::uint8_t> oneByOne = plain, together = plain;
    for (std::size_t u = 0; u < plain.size(); u += 256)
      EncryptUnit(&oneByOne[u],
                  {k0, k1, static_cast<std::uint8_t>(k0 + 1), static_cast<std::uint8_t>(k1 + 1)});
    EncryptBlobUnits(together, encryption);
    EXPECT_EQ(together, oneByOne) << "encryption " << encryption;
    DecryptBlobUnits(together, encryption);
    EXPECT_EQ(together, plain) << "encryption " << encryption;
  }
}

// Decrypting chosen bytes gives exactly the bytes of the whole block
// decrypted: at the block's start, across a unit boundary, in a later unit,
// up to the block's last byte, a single byte.
TEST(Cipher, ChosenBytesMatchTheWholeBlockDecrypted) {
  std::vector<std::uint8_t> block(2048);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 13 + 5);
  const std::pair<std::size_t, std::size_t> ranges[] = {{0, 6},          {250, 12}, {700, 173},
                                                        {2048 - 55, 55}, {1024, 1}, {0, 2048}};
  for (const std::uint32_t encryption : {0x8848F16Eu, 0x00000001u, 0xFFFFFFFFu}) {
    DataBlockCipher cipher(encryption);
    for (const std::uint32_t number : {1u, 2u, 255u, 256u, 0xFFFFu}) {
      std::vector<std::uint8_t> whole = block;
      DecryptDataBlock(whole, encryption, number);
      for (const auto& [offset, count] : ranges) {
        std::vector<std::uint8_t> part(count);
        cipher.Decrypt(block.data(), number, offset, count, part.data());
        EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + offset))
            << "encryption " << encryption << ", block " << number << ", bytes " << offset << "+"
            << count;
      }
    }
  }
}

// Text decryption stops after the first zero byte, having decrypted it.
TEST(Cipher, TextStopsAfterItsZeroByte) {
  const std::uint32_t encryption = 0x8848F16Eu, number = 7;
  std::vector<std::uint8_t> plain(1024, 'x');
  plain[300] = 0;
  std::vector<std::uint8_t> stored = plain;
  for (std::uint32_t u = 0; u < 4; ++u)
    EncryptUnit(&stored[u * 256], {0x6E, 0xF1, static_cast<std::uint8_t>(u), number});
  DataBlockCipher cipher(encryption);
  std::vector<std::uint8_t> out(100, 0xAA);
  EXPECT_EQ(cipher.DecryptText(stored.data(), number, 250, 100, out.data()), 51u);
  EXPECT_EQ(std::count(out.begin(), out.begin() + 50, 'x'), 50);
  EXPECT_EQ(out[50], 0);
  EXPECT_EQ(out[51], 0xAA);
  EXPECT_EQ(cipher.DecryptText(stored.data(), number, 400, 100, out.data()), 100u);
}

std::unique_ptr<TableCursor> OpenPastPassword(const std::string& name) {
  auto file = std::make_unique<TableFile>((SampleDir() / name).string());
  file->Open();
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
