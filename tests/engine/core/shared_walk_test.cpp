// A second open of a table shares what a first, still open one has learnt
// of the file (its block chain walk) only while the file is the same file in
// the same state; any rewrite or replacement makes it walk (and check) the
// chain again.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ostream>

#include "chained_table.h"
#include "engine_error.h"
#include "table_file.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

// What happens to the file between the first open and the second.
enum class Change {
  None,
  RewriteKeepingTime,  // rewritten in place, modification time put back
  RewriteLater,        // rewritten in place, modification time moved on
  ReplaceByRename,     // a new file renamed over it, with the old time
  BreakChainLater,     // block 1 made to point at itself, time moved on
};

struct ChangeCase {
  const char* name;
  Change change;
  ChainedTable after;  // the table written by the change (unused for None/BreakChainLater)
  bool shared;         // whether the second open may take the first one's walk
  pel_result code;     // what the second open answers
  std::uint32_t records;
};

const ChainedTable kFirst{{1, 2, 3}, {5, 72, 1}, ""};

const ChangeCase kChanges[] = {
    {"unchanged", Change::None, {}, true, PEL_OK, 78},
    {"grown_by_a_block",
     Change::RewriteKeepingTime,
     {{1, 2, 3, 4}, {5, 72, 1, 9}, ""},
     false,
     PEL_OK,
     87},
    {"same_size_rewritten_later",
     Change::RewriteLater,
     {{1, 2, 3}, {5, 70, 1}, ""},
     false,
     PEL_OK,
     76},
    {"same_size_and_time_rewritten",
     Change::RewriteKeepingTime,
     {{1, 2, 3}, {5, 70, 1}, ""},
     false,
     PEL_OK,
     76},
    {"replaced_by_rename", Change::ReplaceByRename, {{3, 2, 1}, {4, 4, 4}, ""}, false, PEL_OK, 12},
    {"chain_made_to_loop", Change::BreakChainLater, {}, false, PEL_BLOCK_DAMAGED, 0},
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
  *out << c.name;
}

void MakeLater(const fs::path& file, fs::file_time_type before) {
  fs::last_write_time(file, before + std::chrono::seconds(5));
}

void ApplyChange(const fs::path& file, const ChangeCase& c) {
  const fs::file_time_type before = fs::last_write_time(file);
  switch (c.change) {
    case Change::None:
      return;
    case Change::RewriteKeepingTime:
      WriteChainedTable(file, c.after);
      return fs::last_write_time(file, before);
    case Change::RewriteLater:
      WriteChainedTable(file, c.after);
      return MakeLater(file, before);
    case Change::ReplaceByRename: {
      const fs::path fresh = file.parent_path() / "fresh.DB";
      WriteChainedTable(fresh, c.after);
      fs::last_write_time(fresh, before);
      return fs::rename(fresh, file);
    }
    case Change::BreakChainLater: {
      auto bytes = ReadBytes(file);
      bytes[0x800] = 1, bytes[0x801] = 0;  // block 1's next block: itself
      WriteBytes(file, bytes);
      return MakeLater(file, before);
    }
  }
}

// The text column of record `index`: "row N" as the chained table wrote it.
std::string NameOf(TableFile& table, std::uint32_t index) {
  std::vector<std::uint8_t> record(table.header().recordSize);
  table.ReadRecord(index, record.data());
  return std::string(reinterpret_cast<const char*>(record.data()),
                     strnlen(reinterpret_cast<const char*>(record.data()), 10));
}

class SharedWalk : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(SharedWalk, SecondOpenSharesOnlyTheWalkOfAnUnchangedFile) {
  const ChangeCase& c = GetParam();
  ScratchDir dir;
  const fs::path file = dir.path() / "chain.DB";
  WriteChainedTable(file, kFirst);
  SharedTables walks;
  TableFile first(file.string());
  first.Open(walks);
  ASSERT_EQ(first.RecordCount(), 78u);

  ApplyChange(file, c);
  TableFile second(file.string());
  pel_result code = PEL_OK;
  try {
    second.Open(walks);
    second.RecordCount();
  } catch (const EngineError& error) {
    code = error.code();
  }
  ASSERT_EQ(code, c.code);
  EXPECT_EQ(second.SharesWith(first), c.shared);
  if (code != PEL_OK) return;
  ASSERT_EQ(second.RecordCount(), c.records);
  EXPECT_EQ(NameOf(second, c.records - 1), "row " + std::to_string(c.records - 1));
}

INSTANTIATE_TEST_SUITE_P(Changes, SharedWalk, ::testing::ValuesIn(kChanges),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(SharedWalk, NoWalkIsKeptOnceNoTableHoldsIt) {
  ScratchDir dir;
  const fs::path file = dir.path() / "chain.DB";
  WriteChainedTable(file, kFirst);
  SharedTables walks;
  ChainSource source;
  {
    TableFile first(file.string());
    first.Open(walks);
    source = first.Source();
    EXPECT_NE(walks.Find(source), nullptr);
  }
  EXPECT_EQ(walks.Find(source), nullptr);
}

// Through the C interface: the second cursor reads every record, also after
// the first cursor, whose open made the walk, is closed.
TEST(SharedWalk, SecondCursorOutlivesTheFirst) {
  ScratchDir dir;
  const ChainedTable table{{2, 4, 1, 3}, {3, 70, 2, 9}, "walk"};
  WriteChainedTable(dir.path() / "chain.DB", table);
  EngineSession session;
  ASSERT_EQ(pel_password_add(table.password.c_str()), PEL_OK);
  auto first = std::make_unique<OpenTable>(dir.path(), "chain.DB");
  ASSERT_EQ(first->result(), PEL_OK);
  OpenTable second(dir.path(), "chain.DB");
  ASSERT_EQ(second.result(), PEL_OK);
  first.reset();
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(second.ReadAll(records), PEL_OK);
  ASSERT_EQ(records.size(), 84u);
  for (std::uint32_t k = 0; k < records.size(); ++k)
    EXPECT_EQ(second.Text(records[k], 1), "row " + std::to_string(k));
}

}  // namespace
}  // namespace pellory::engine::test
