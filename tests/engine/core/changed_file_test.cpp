// A table's files changed while it is open: a cursor goes on reading the
// files as they were when it opened, or answers PEL_FILE_CHANGED; it never
// hands out a record or blob mixed from two versions.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <ostream>

#include "chained_table.h"
#include "pellory/engine/table_writer.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

// 700 KiB of records: more than the engine reads from the file at once.
ChainedTable Version(const std::string& password) {
  std::vector<std::uint16_t> chain(700), perBlock(700, 5);
  for (std::uint16_t i = 0; i < 700; ++i) chain[i] = static_cast<std::uint16_t>(i + 1);
  return {chain, perBlock, password};
}
constexpr std::uint32_t kRecords = 3500;

void MoveTimeOn(const fs::path& file) {
  fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(5));
}

// The second version is encrypted, the first is not: a block of the second
// read as the first would not decrypt to "row k".
struct TableChange {
  const char* name;
  std::function<void(const fs::path& file)> change;
  bool keepsOldRecords;  // else: PEL_FILE_CHANGED before the end
};

void PrintTo(const TableChange& c, std::ostream* out) {
  *out << c.name;
}

const TableChange kTableChanges[] = {
    {"rewritten_in_place",
     [](const fs::path& file) {
       const auto before = fs::last_write_time(file);
       WriteChainedTable(file, Version("second"));
       fs::last_write_time(file, before + std::chrono::seconds(5));
     },
     false},
    {"rewritten_in_place_keeping_its_time",
     [](const fs::path& file) {
       const auto before = fs::last_write_time(file);
       WriteChainedTable(file, Version("second"));
       fs::last_write_time(file, before);
     },
     false},
    {"cut_short_in_place",
     [](const fs::path& file) {
       fs::resize_file(file, 0x800 + 100 * 1024);
       MoveTimeOn(file);
     },
     false},
    {"replaced_by_rename",
     [](const fs::path& file) {
       const fs::path fresh = file.parent_path() / "fresh.DB";
       WriteChainedTable(fresh, Version("second"));
       fs::rename(fresh, file);
     },
     true},
    {"removed", [](const fs::path& file) { fs::remove(file); }, true},
};

class ChangedTable : public ::testing::TestWithParam<TableChange> {};

TEST_P(ChangedTable, ReadsTheOldRecordsOrSaysTheFileChanged) {
  ScratchDir dir;
  const fs::path file = dir.path() / "chain.DB";
  WriteChainedTable(file, Version(""));
  EngineSession session;
  ASSERT_EQ(pel_password_add("second"), PEL_OK);
  OpenTable table(dir.path(), "chain.DB");
  ASSERT_EQ(table.result(), PEL_OK);
  std::vector<std::uint8_t> record(table.info().record_size);
  std::uint32_t read = 0;
  for (; read < 10; ++read) ASSERT_EQ(pel_cursor_next(table.cursor(), record.data()), PEL_OK);

  GetParam().change(file);
  pel_result result = PEL_OK;
  for (; (result = pel_cursor_next(table.cursor(), record.data())) == PEL_OK; ++read)
    ASSERT_EQ(table.Text(record, 1), "row " + std::to_string(read));
  if (GetParam().keepsOldRecords) {
    EXPECT_EQ(result, PEL_AT_END);
    EXPECT_EQ(read, kRecords);
  } else {
    EXPECT_EQ(result, PEL_FILE_CHANGED);
    EXPECT_LT(read, kRecords);
    const auto contexts = ErrorContexts();
    ASSERT_FALSE(contexts.empty());
    EXPECT_EQ(contexts[0], file.string());
  }
  // A table opened now reads the file as it is now.
  if (!fs::exists(file)) return;
  OpenTable now(dir.path(), "chain.DB");
  if (now.result() != PEL_OK) return;  // cut short: its first block is gone
  std::vector<std::vector<std::uint8_t>> records;
  const pel_result all = now.ReadAll(records);
  if (all == PEL_OK) {
    EXPECT_EQ(now.Text(records.back(), 1), "row " + std::to_string(kRecords - 1));
  }
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangedTable, ::testing::ValuesIn(kTableChanges),
                         [](const auto& param) { return std::string(param.param.name); });

// A catalogue-shaped table whose memos lie in the blob file, each one a
// run of its record's letter.
std::string MemoOf(std::uint32_t k) {
  return std::string(300 + k, static_cast<char>('a' + k % 26));
}

void WriteMemoTable(const fs::path& dir, std::uint32_t rows) {
  using writer::FieldType;
  writer::TableWriter table(dir, "memos",
                            {{"Name", FieldType::Alpha, 10}, {"Notes", FieldType::Memo, 20}},
                            {.password = "memo-pass"});
  for (std::uint32_t k = 0; k < rows; ++k) {
    std::string name = "m";  // not "m" + ...: GCC 12 warns wrongly of overlapping copies
    name += std::to_string(k);
    table.Append({name, MemoOf(k)});
  }
  table.Finish();
}

struct BlobChange {
  const char* name;
  std::function<void(const fs::path& dir)> change;
  pel_result code;  // PEL_OK: every blob reads as before
};

void PrintTo(const BlobChange& c, std::ostream* out) {
  *out << c.name;
}

const BlobChange kBlobChanges[] = {
    {"replaced_by_a_shorter_file",
     [](const fs::path& dir) {
       ScratchDir other;
       WriteMemoTable(other.path(), 3);
       fs::copy_file(other.path() / "memos.MB", dir / "fresh.MB");
       fs::rename(dir / "fresh.MB", dir / "memos.MB");
     },
     PEL_OK},
    {"cut_short_in_place",
     [](const fs::path& dir) {
       fs::resize_file(dir / "memos.MB", 4096);
       MoveTimeOn(dir / "memos.MB");
     },
     PEL_FILE_CHANGED},
    {"removed", [](const fs::path& dir) { fs::remove(dir / "memos.MB"); }, PEL_OK},
};

class ChangedBlobFile : public ::testing::TestWithParam<BlobChange> {};

TEST_P(ChangedBlobFile, ReadsTheOldBlobsOrSaysTheFileChanged) {
  ScratchDir dir;
  WriteMemoTable(dir.path(), 40);
  EngineSession session;
  ASSERT_EQ(pel_password_add("memo-pass"), PEL_OK);
  OpenTable table(dir.path(), "memos.DB");
  ASSERT_EQ(table.result(), PEL_OK);
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(table.ReadAll(records), PEL_OK);
  ASSERT_EQ(records.size(), 40u);

  GetParam().change(dir.path());
  pel_result first = PEL_OK;
  for (std::uint32_t k = 0; k < records.size() && first == PEL_OK; ++k) {
    pel_result code = PEL_OK;
    const auto bytes = table.Blob(records[k], 2, &code);
    if (code != PEL_OK) {
      first = code;
      break;
    }
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), MemoOf(k)) << "record " << k;
  }
  EXPECT_EQ(first, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangedBlobFile, ::testing::ValuesIn(kBlobChanges),
                         [](const auto& param) { return std::string(param.param.name); });

// The blob file belongs with the records as they were at opening: one that
// appears only later is not taken.
TEST(ChangedBlobFile, OneMissingAtOpeningStaysMissing) {
  ScratchDir dir;
  WriteMemoTable(dir.path(), 5);
  fs::rename(dir.path() / "memos.MB", dir.path() / "aside.MB");
  EngineSession session;
  ASSERT_EQ(pel_password_add("memo-pass"), PEL_OK);
  OpenTable table(dir.path(), "memos.DB");
  ASSERT_EQ(table.result(), PEL_OK);
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(table.ReadAll(records), PEL_OK);
  fs::rename(dir.path() / "aside.MB", dir.path() / "memos.MB");
  pel_result code = PEL_OK;
  table.Blob(records[0], 2, &code);
  EXPECT_EQ(code, PEL_BLOB_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace pellory::engine::test
