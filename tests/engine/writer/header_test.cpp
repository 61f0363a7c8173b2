// The files the writer makes, byte by byte, against the Paradox format
// notes: header fields, block layout and the blob file's blocks.
#include <gtest/gtest.h>

#include "pellory/engine/table_writer.h"
#include "pellory/testkit/little_endian.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::writer {
namespace {

using testkit::FileBytes;
using testkit::ScratchDir;
using testkit::U16;
using testkit::U32;
using Bytes = std::vector<std::uint8_t>;

class WrittenFilesTest : public ::testing::Test {
 protected:
  // Two columns, 200 records of 62 bytes: 65 fit a 4 KiB block, so 4 blocks.
  void Write(const std::string& password) {
    TableWriter table(dir_.path(), "facts",
                      {{"Title", FieldType::Alpha, 45}, {"Note", FieldType::Memo, 17}},
                      {.password = password});
    for (int i = 0; i < 200; ++i)
      table.Append({std::string("row ") + std::to_string(i), std::string(i == 0   ? 5000
                                                                         : i == 1 ? 100
                                                                                  : 3,
                                                                         'n')});
    table.Finish();
    db_ = FileBytes(dir_.path() / "facts.DB");
    mb_ = FileBytes(dir_.path() / "facts.MB");
  }
  ScratchDir dir_;
  Bytes db_, mb_;
};

TEST_F(WrittenFilesTest, HeaderFieldsFollowTheFormat) {
  Write("");
  ASSERT_GE(db_.size(), 0x800u);
  EXPECT_EQ(U16(db_, 0x00), 62u);     // record size
  EXPECT_EQ(U16(db_, 0x02), 0x800u);  // header size
  EXPECT_EQ(db_[0x04], 2);            // unkeyed data table
  EXPECT_EQ(db_[0x05], 4);            // 4 KiB blocks
  EXPECT_EQ(U32(db_, 0x06), 200u);    // records
  EXPECT_EQ(U16(db_, 0x0A), 4u);      // blocks in use
  EXPECT_EQ(U16(db_, 0x0C), 4u);      // blocks in the file
  EXPECT_EQ(U16(db_, 0x0E), 1u);      // first block
  EXPECT_EQ(U16(db_, 0x10), 4u);      // last block
  EXPECT_EQ(U16(db_, 0x21), 2u);      // fields
  EXPECT_EQ(U16(db_, 0x23), 0u);      // key fields
  EXPECT_EQ(U32(db_, 0x25), 0xFF00FF00u);
  EXPECT_EQ(db_[0x39], 12);  // Paradox 7
  EXPECT_EQ(U16(db_, 0x58), 0x010Cu);
  EXPECT_EQ(U16(db_, 0x5A), 0x010Cu);
  EXPECT_EQ(U32(db_, 0x5C), 0u);  // no password
  EXPECT_EQ(U16(db_, 0x6A), 1252u);
  // Header bytes in use: up to the end of the "ascii" sort order name.
  const std::size_t used = U16(db_, 0x51);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&db_[used - 6])), "ascii");
  EXPECT_EQ(db_[0x78], 0x01);
  EXPECT_EQ(db_[0x79], 45);
  EXPECT_EQ(db_[0x7A], 0x0C);
  EXPECT_EQ(db_[0x7B], 17);
  // Names follow the descriptors, the pointers and the 261-byte table name.
  const std::size_t tableName = 0x78 + 2 * 2 + 4 + 4 * 2;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&db_[tableName])), "facts.DB");
  const std::size_t names = 0x78 + 83 + 6 * 2 + (261 - 79);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&db_[names])), "Title");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&db_[names + 6])), "Note");
  EXPECT_EQ(db_.size(), 0x800u + 4 * 4096u);
}

TEST_F(WrittenFilesTest, DataBlocksChainInFileOrder) {
  Write("");
  for (std::uint32_t n = 1; n <= 4; ++n) {
    const std::size_t at = 0x800 + (n - 1) * 4096;
    SCOPED_TRACE(n);
    EXPECT_EQ(U16(db_, at), n < 4 ? n + 1 : 0u);
    EXPECT_EQ(U16(db_, at + 2), n - 1);
    const std::uint32_t records = n < 4 ? 65 : 200 - 3 * 65;
    EXPECT_EQ(U16(db_, at + 4), (records - 1) * 62);
  }
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&db_[0x800 + 6])), "row 0");
}

TEST_F(WrittenFilesTest, BlobsGoToTheirOwnOrASharedBlock) {
  Write("");
  ASSERT_EQ(mb_.size() % 4096, 0u);
  EXPECT_EQ(mb_[0], 0);  // header block
  EXPECT_EQ(U16(mb_, 0x13), 0x800u);
  const std::size_t first = 0x800 + 6 + 45;  // record 0's memo column
  const std::size_t second = first + 62;
  // Record 0: 5000 bytes in a block of its own, leader copied.
  EXPECT_EQ(std::string(&db_[first], &db_[first + 7]), std::string(7, 'n'));
  const std::uint32_t own = U32(db_, first + 7);
  EXPECT_EQ(own & 0xFF, 0xFFu);
  EXPECT_EQ(U32(db_, first + 11), 5000u);
  ASSERT_LT(own & ~0xFFu, mb_.size());
  EXPECT_EQ(mb_[own & ~0xFFu], 2);
  EXPECT_EQ(U16(mb_, (own & ~0xFFu) + 1), 2u);  // 5009 bytes: two 4 KiB units
  EXPECT_EQ(U32(mb_, (own & ~0xFFu) + 3), 5000u);
  // Record 1: 100 bytes in the first slot (index 3F) of a shared block.
  const std::uint32_t shared = U32(db_, second + 7);
  EXPECT_EQ(shared & 0xFF, 0x3Fu);
  const std::size_t block = shared & ~0xFFu;
  EXPECT_EQ(mb_[block], 3);
  const std::size_t slot = block + 12 + 5 * 0x3F;
  EXPECT_EQ(mb_[slot], 0x15);   // data at 0x150
  EXPECT_EQ(mb_[slot + 1], 7);  // 7 units of 16 bytes
  EXPECT_EQ(mb_[slot + 4], 100 - 6 * 16);
  EXPECT_EQ(mb_[block + 0x150], 'n');
  // Record 2: 3 bytes, wholly in the leader, no pointer.
  EXPECT_EQ(U32(db_, second + 62 + 7), 0u);
  EXPECT_EQ(U32(db_, second + 62 + 11), 3u);
}

TEST_F(WrittenFilesTest, EncryptedTableKeepsItsHeaderPlain) {
  Write("rparadox");
  // The checksum of "rparadox", as Paradox-written tables hold it.
  EXPECT_EQ(U32(db_, 0x5C), 0x8848F16Eu);
  EXPECT_EQ(U32(db_, 0x25), 0xFF00FF00u);
  EXPECT_EQ(U32(db_, 0x06), 200u);
  const Bytes plainHeader(db_.begin(), db_.begin() + 0x800);
  Write("");
  Bytes other(db_.begin(), db_.begin() + 0x800);
  // The headers differ only in the encryption value.
  for (std::size_t i = 0x5C; i < 0x60; ++i) other[i] = plainHeader[i];
  EXPECT_EQ(other, plainHeader);
}

TEST_F(WrittenFilesTest, EncryptionChangesEveryBlock) {
  Write("");
  const Bytes plainDb = db_, plainMb = mb_;
  Write("rparadox");
  ASSERT_EQ(db_.size(), plainDb.size());
  ASSERT_EQ(mb_.size(), plainMb.size());
  for (std::size_t at = 0x800; at < db_.size(); at += 4096)
    EXPECT_FALSE(std::equal(&db_[at], &db_[at + 4096], &plainDb[at])) << at;
  for (std::size_t at = 0; at < mb_.size(); at += 4096)
    EXPECT_FALSE(std::equal(&mb_[at], &mb_[at + 4096], &plainMb[at])) << at;
}

TEST_F(WrittenFilesTest, SameRowsGiveIdenticalFiles) {
  Write("mirabo");
  const Bytes db = db_, mb = mb_;
  Write("mirabo");
  EXPECT_EQ(db_, db);
  EXPECT_EQ(mb_, mb);
}

}  // namespace
}  // namespace pellory::writer
