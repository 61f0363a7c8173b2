// Session, database and cursor operations of the C interface on a real table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "test_tables.h"

namespace pellory::engine::test {
namespace {

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PELLORY_NEED_SAMPLES();
    table_ = std::make_unique<OpenTable>(SampleDir(), "TypSammlung.DB");
    ASSERT_EQ(table_->result(), PEL_OK);
    cursor_ = table_->cursor();
    record_.resize(table_->info().record_size);
  }
  std::uint32_t Sequence() {
    std::uint32_t sequence = 0;
    EXPECT_EQ(pel_cursor_sequence(cursor_, &sequence), PEL_OK);
    return sequence;
  }

  EngineSession session_;
  std::unique_ptr<OpenTable> table_;
  pel_cursor* cursor_ = nullptr;
  std::vector<std::uint8_t> record_;
};

TEST_F(CursorTest, MovesThroughTheTableBothWays) {
  ASSERT_EQ(pel_cursor_to_start(cursor_), PEL_OK);
  EXPECT_EQ(pel_cursor_prior(cursor_, record_.data()), PEL_AT_BEGINNING);
  EXPECT_EQ(pel_cursor_current(cursor_, record_.data()), PEL_NO_CURRENT_RECORD);
  for (std::uint32_t i = 1; i <= 5; ++i) {
    ASSERT_EQ(pel_cursor_next(cursor_, record_.data()), PEL_OK);
    EXPECT_EQ(Sequence(), i);
  }
  EXPECT_EQ(pel_cursor_next(cursor_, record_.data()), PEL_AT_END);
  EXPECT_EQ(pel_cursor_next(cursor_, nullptr), PEL_AT_END);
  ASSERT_EQ(pel_cursor_prior(cursor_, record_.data()), PEL_OK);
  EXPECT_EQ(Sequence(), 5u);
  ASSERT_EQ(pel_cursor_to_end(cursor_), PEL_OK);
  ASSERT_EQ(pel_cursor_prior(cursor_, record_.data()), PEL_OK);
  EXPECT_EQ(table_->Text(record_, 1), "Zweite Zeile");
  ASSERT_EQ(pel_cursor_to_start(cursor_), PEL_OK);
  ASSERT_EQ(pel_cursor_next(cursor_, record_.data()), PEL_OK);
  EXPECT_EQ(table_->Text(record_, 1), "AAA Irgendein Text");
}

TEST_F(CursorTest, SequenceNumbersAndBookmarks) {
  ASSERT_EQ(pel_cursor_to_sequence(cursor_, 3), PEL_OK);
  ASSERT_EQ(pel_cursor_current(cursor_, record_.data()), PEL_OK);
  EXPECT_EQ(table_->Text(record_, 1), "Fünfter Datensatz");
  std::vector<std::uint8_t> mark(table_->info().bookmark_size);
  ASSERT_EQ(pel_cursor_bookmark(cursor_, mark.data()), PEL_OK);
  ASSERT_EQ(pel_cursor_to_start(cursor_), PEL_OK);
  EXPECT_EQ(pel_cursor_bookmark(cursor_, mark.data()), PEL_NO_CURRENT_RECORD);
  ASSERT_EQ(pel_cursor_to_bookmark(cursor_, mark.data()), PEL_OK);
  EXPECT_EQ(Sequence(), 3u);
  ASSERT_EQ(pel_cursor_next(cursor_, record_.data()), PEL_OK);
  EXPECT_EQ(Sequence(), 4u);
  for (std::uint32_t bad : {0u, 6u, 0xFFFFFFFFu})
    EXPECT_EQ(pel_cursor_to_sequence(cursor_, bad), PEL_NO_SUCH_RECORD) << bad;
  std::vector<std::uint8_t> foreign(mark.size(), 0x5A);
  EXPECT_EQ(pel_cursor_to_bookmark(cursor_, foreign.data()), PEL_NO_SUCH_RECORD);
  EXPECT_EQ(Sequence(), 4u);
}

TEST_F(CursorTest, CountsRecords) {
  std::uint32_t count = 0;
  ASSERT_EQ(pel_cursor_count(cursor_, &count), PEL_OK);
  EXPECT_EQ(count, 5u);
  count = 0;
  ASSERT_EQ(pel_cursor_count_exact(cursor_, &count), PEL_OK);
  EXPECT_EQ(count, 5u);
}

TEST_F(CursorTest, RefusesBadFieldAndBlobRequests) {
  ASSERT_EQ(pel_cursor_next(cursor_, record_.data()), PEL_OK);
  std::uint8_t small[4];
  int blank = 0;
  EXPECT_EQ(pel_field_get(cursor_, 1, record_.data(), small, sizeof small, &blank),
            PEL_BUFFER_TOO_SMALL);
  EXPECT_EQ(pel_field_get(cursor_, 0, record_.data(), nullptr, 0, &blank), PEL_NO_SUCH_FIELD);
  EXPECT_EQ(pel_field_get(cursor_, 15, record_.data(), nullptr, 0, &blank), PEL_NO_SUCH_FIELD);
  EXPECT_EQ(pel_field_get(cursor_, 1, nullptr, nullptr, 0, &blank), PEL_INVALID_ARGUMENT);
  EXPECT_EQ(pel_blob_open(cursor_, 1, record_.data()), PEL_NOT_A_BLOB);
  std::uint32_t got = 0;
  std::uint8_t bytes[8];
  EXPECT_EQ(pel_blob_read(cursor_, 10, record_.data(), 0, 8, bytes, &got), PEL_BLOB_NOT_OPEN);
}

TEST_F(CursorTest, ReadsBlobInPiecesUpToItsEnd) {
  ASSERT_EQ(pel_cursor_to_sequence(cursor_, 3), PEL_OK);
  ASSERT_EQ(pel_cursor_current(cursor_, record_.data()), PEL_OK);
  ASSERT_EQ(pel_blob_open(cursor_, 10, record_.data()), PEL_OK);
  std::uint32_t size = 0, got = 0;
  ASSERT_EQ(pel_blob_size(cursor_, 10, record_.data(), &size), PEL_OK);
  ASSERT_EQ(size, 40u);
  char piece[32];
  ASSERT_EQ(pel_blob_read(cursor_, 10, record_.data(), 0, 8, piece, &got), PEL_OK);
  EXPECT_EQ(std::string(piece, got), "Dies ist");
  EXPECT_EQ(pel_blob_read(cursor_, 10, record_.data(), 30, 32, piece, &got), PEL_END_OF_BLOB);
  EXPECT_EQ(got, 10u);
  EXPECT_EQ(pel_blob_read(cursor_, 10, record_.data(), 90, 4, piece, &got), PEL_END_OF_BLOB);
  EXPECT_EQ(got, 0u);
  ASSERT_EQ(pel_blob_free(cursor_, 10, record_.data()), PEL_OK);
  EXPECT_EQ(pel_blob_read(cursor_, 10, record_.data(), 0, 8, piece, &got), PEL_BLOB_NOT_OPEN);
}

TEST_F(CursorTest, ForeignHandlesAreRefused) {
  int notAHandle = 0;
  auto* cursor = reinterpret_cast<pel_cursor*>(&notAHandle);
  EXPECT_EQ(pel_cursor_next(cursor, record_.data()), PEL_INVALID_HANDLE);
  EXPECT_EQ(pel_cursor_close(nullptr), PEL_INVALID_HANDLE);
  EXPECT_EQ(pel_database_close(reinterpret_cast<pel_database*>(&notAHandle)), PEL_INVALID_HANDLE);
  EXPECT_EQ(pel_filter_activate(cursor_, reinterpret_cast<pel_filter*>(&notAHandle)),
            PEL_INVALID_HANDLE);
}

TEST_F(CursorTest, ConvertsTextBothWays) {
  const std::string utf8 = "Fünf Zähler";
  char native[64], back[64];
  size_t length = 0;
  ASSERT_EQ(pel_text_from_utf8(cursor_, utf8.data(), utf8.size(), native, sizeof native, &length),
            PEL_OK);
  EXPECT_EQ(length, 11u);  // one byte per character in code page 1252
  ASSERT_EQ(pel_text_to_utf8(cursor_, native, length, back, sizeof back, &length), PEL_OK);
  EXPECT_EQ(std::string(back, length), utf8);
  EXPECT_EQ(pel_text_to_utf8(cursor_, native, 11, back, 5, &length), PEL_BUFFER_TOO_SMALL);
  char name[32];
  ASSERT_EQ(pel_language_driver(cursor_, name, sizeof name), PEL_OK);
  EXPECT_STREQ(name, "cp1252");
}

TEST(EngineSessionTest, InitialisesOnceAndRefusesCallsAfterExit) {
  pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
  ASSERT_EQ(pel_engine_init(&options), PEL_OK);
  EXPECT_EQ(pel_engine_init(&options), PEL_ALREADY_INITIALISED);
  pel_session* session = nullptr;
  ASSERT_EQ(pel_session_current(&session), PEL_OK);
  EXPECT_EQ(pel_session_set_current(session), PEL_OK);
  EXPECT_EQ(pel_config_mode_set(7), PEL_OK);
  std::uint16_t mode = 0;
  EXPECT_EQ(pel_config_mode_get(&mode), PEL_OK);
  EXPECT_EQ(mode, 7);
  EXPECT_EQ(pel_private_dir_set("c:\\"), PEL_OK);
  EXPECT_EQ(pel_callback_register(PEL_CALLBACK_LOGIN, nullptr, nullptr), PEL_OK);
  ASSERT_EQ(pel_engine_exit(), PEL_OK);
  EXPECT_EQ(pel_password_add("x"), PEL_NOT_INITIALISED);
  options.interface_version = 499;
  EXPECT_EQ(pel_engine_init(&options), PEL_WRONG_VERSION);
}

// Calls from several threads are serialised by the engine; each thread's
// cursor keeps its own position.
TEST(EngineThreads, CursorsReadSideBySide) {
  PELLORY_NEED_SAMPLES();
  EngineSession session;
  std::vector<std::thread> threads;
  std::vector<int> counts(4, -1);
  for (std::size_t i = 0; i < counts.size(); ++i)
    threads.emplace_back([&, i] {
      OpenTable t(SampleDir(), i % 2 ? "memo.db" : "TypSammlung.DB");
      if (t.result() != PEL_OK) return;
      int total = 0;
      for (int round = 0; round < 50; ++round) {
        std::vector<std::vector<std::uint8_t>> records;
        if (t.ReadAll(records) == PEL_OK) total += static_cast<int>(records.size());
      }
      counts[i] = total;
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counts, (std::vector<int>{250, 100, 250, 100}));
}

class OpenRules : public ::testing::Test {
 protected:
  void SetUp() override { PELLORY_NEED_SAMPLES(); }
  EngineSession session_;
};

TEST_F(OpenRules, TableNamesAndDrivers) {
  EXPECT_EQ(OpenTable(SampleDir(), "typsammlung").result(), PEL_OK);  // any case, no extension
  EXPECT_EQ(OpenTable(SampleDir(), "missing.DB").result(), PEL_TABLE_NOT_FOUND);
  EXPECT_EQ(OpenTable(SampleDir() / "nowhere", "TypSammlung.DB").result(), PEL_DIRECTORY_NOT_FOUND);
  pel_database* database = nullptr;
  const std::string dir = SampleDir().string();
  ASSERT_EQ(
      pel_database_open(dir.c_str(), "", PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr, &database),
      PEL_OK);
  char type[32];
  ASSERT_EQ(pel_database_driver_type(database, type, sizeof type), PEL_OK);
  EXPECT_STREQ(type, "STANDARD");
  pel_table_request request{};
  request.table_name = "TypSammlung.DB";
  request.driver_name = "DBASE";
  pel_cursor* cursor = nullptr;
  EXPECT_EQ(pel_table_open(database, &request, &cursor), PEL_NOT_SUPPORTED);
  request.table_name = "";
  request.driver_name = "PARADOX";
  EXPECT_EQ(pel_table_open(database, &request, &cursor), PEL_INVALID_ARGUMENT);
  EXPECT_EQ(pel_database_close(database), PEL_OK);
}

TEST_F(OpenRules, EmptyTableHasNoRecords) {
  ScratchDir dir;
  const fs::path db = dir.CopySample("memo.db");
  auto bytes = ReadBytes(db);
  const std::size_t headerSize = bytes[2] | (bytes[3] << 8);
  for (std::size_t at : {0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11})
    bytes[at] = 0;  // no records, no blocks
  bytes.resize(headerSize);
  WriteBytes(db, bytes);
  OpenTable t(dir.path(), "memo.db");
  ASSERT_EQ(t.result(), PEL_OK);
  std::uint32_t count = 99;
  ASSERT_EQ(pel_cursor_count(t.cursor(), &count), PEL_OK);
  EXPECT_EQ(count, 0u);
  std::vector<std::uint8_t> record(t.info().record_size);
  EXPECT_EQ(pel_cursor_next(t.cursor(), record.data()), PEL_AT_END);
  EXPECT_EQ(pel_cursor_prior(t.cursor(), record.data()), PEL_AT_BEGINNING);
  EXPECT_EQ(pel_cursor_to_sequence(t.cursor(), 1), PEL_NO_SUCH_RECORD);
}

TEST_F(OpenRules, WriteProtectedTableOpensOnlyForReading) {
  ScratchDir dir;
  const fs::path db = dir.CopySample("memo.db");
  dir.CopySample("memo.mb");
  auto bytes = ReadBytes(db);
  bytes[0x38] = 1;  // the header's write-protection flag
  WriteBytes(db, bytes);
  EXPECT_EQ(OpenTable(dir.path(), "memo.db", PEL_OPEN_READ_WRITE).result(), PEL_ONLY_READABLE);
  OpenTable readOnly(dir.path(), "memo.db", PEL_OPEN_READ_ONLY);
  ASSERT_EQ(readOnly.result(), PEL_OK);
  EXPECT_EQ(readOnly.info().writable, 0);
}

TEST_F(OpenRules, ReadOnlyFileOpensOnlyForReading) {
  if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  ScratchDir dir;
  const fs::path db = dir.CopySample("memo.db");
  fs::permissions(db, fs::perms::owner_read);
  EXPECT_EQ(OpenTable(dir.path(), "memo.db", PEL_OPEN_READ_WRITE).result(), PEL_ONLY_READABLE);
  EXPECT_EQ(OpenTable(dir.path(), "memo.db", PEL_OPEN_READ_ONLY).result(), PEL_OK);
}

}  // namespace
}  // namespace pellory::engine::test
