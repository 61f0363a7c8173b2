// Records come in block-chain order, whatever the blocks' order in the file;
// encrypted blocks decrypt by their own block number.
#include <gtest/gtest.h>

#include <cstring>

#include "chained_table.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

struct ChainCase {
  const char* name;
  ChainedTable table;
};

const ChainCase kChains[] = {
    {"in_file_order", {{1, 2, 3}, {5, 72, 1}, ""}},
    {"reversed", {{3, 2, 1}, {4, 4, 4}, ""}},
    {"shuffled_and_encrypted", {{2, 4, 1, 3}, {3, 70, 2, 9}, "chain"}},
    {"empty_block_inside", {{2, 1, 3}, {3, 0, 3}, ""}},
};

class ChainOrder : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ChainOrder, RecordsFollowTheChain) {
  const ChainedTable& t = GetParam().table;
  ScratchDir dir;
  // An empty block states a record area of -recordSize, as Paradox writes it.
  WriteChainedTable(dir.path() / "chain.DB", t);
  EngineSession session;
  if (!t.password.empty()) {
    ASSERT_EQ(pel_password_add(t.password.c_str()), PEL_OK);
  }
  OpenTable table(dir.path(), "chain.DB");
  ASSERT_EQ(table.result(), PEL_OK);
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(table.ReadAll(records), PEL_OK);
  std::uint32_t total = 0;
  for (auto n : t.perBlock) total += n;
  ASSERT_EQ(records.size(), total);
  for (std::uint32_t k = 0; k < total; ++k) {
    EXPECT_EQ(table.Text(records[k], 1), "row " + std::to_string(k));
    std::int32_t number = -1;
    const auto value = table.Value(records[k], 2, nullptr);
    std::memcpy(&number, value.data(), 4);
    EXPECT_EQ(number, static_cast<std::int32_t>(k));
  }
  // Going to a sequence number lands on the same record.
  ASSERT_EQ(pel_cursor_to_sequence(table.cursor(), total), PEL_OK);
  std::vector<std::uint8_t> last(table.info().record_size);
  ASSERT_EQ(pel_cursor_current(table.cursor(), last.data()), PEL_OK);
  EXPECT_EQ(last, records.back());
}

INSTANTIATE_TEST_SUITE_P(Chains, ChainOrder, ::testing::ValuesIn(kChains),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pellory::engine::test
