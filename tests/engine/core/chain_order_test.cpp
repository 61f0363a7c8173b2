// Records come in block-chain order, whatever the blocks' order in the file,
// forwards, backwards and by sequence number; encrypted blocks decrypt by
// their own block number. The long chains span several of the runs in which
// blocks are read, in file order, backwards, every other block and at random.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <ostream>
#include <random>

#include "chained_table.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

struct ChainCase {
  const char* name;
  ChainedTable table;
};

void PrintTo(const ChainCase& c, std::ostream* out) {
  *out << c.name;
}

constexpr std::uint16_t kLong = 700;  // 700 KiB of 1 KiB blocks

ChainedTable LongChain(std::vector<std::uint16_t> chain, const std::string& password) {
  std::vector<std::uint16_t> perBlock(chain.size());
  for (std::size_t i = 0; i < perBlock.size(); ++i)
    perBlock[i] = static_cast<std::uint16_t>(i % 9 == 4 ? 0 : 1 + i % 6);
  return {std::move(chain), std::move(perBlock), password};
}

std::vector<std::uint16_t> Numbers() {
  std::vector<std::uint16_t> numbers(kLong);
  std::iota(numbers.begin(), numbers.end(), std::uint16_t{1});
  return numbers;
}

std::vector<ChainCase> Chains() {
  std::vector<ChainCase> cases = {
      {"in_file_order", {{1, 2, 3}, {5, 72, 1}, ""}},
      {"reversed", {{3, 2, 1}, {4, 4, 4}, ""}},
      {"shuffled_and_encrypted", {{2, 4, 1, 3}, {3, 70, 2, 9}, "chain"}},
      {"empty_block_inside", {{2, 1, 3}, {3, 0, 3}, ""}},
  };
  auto numbers = Numbers();
  cases.push_back({"long_in_file_order", LongChain(numbers, "chain")});
  std::reverse(numbers.begin(), numbers.end());
  cases.push_back({"long_reversed", LongChain(numbers, "")});
  std::stable_partition(numbers.begin(), numbers.end(), [](auto n) { return n % 2 == 1; });
  cases.push_back({"long_every_other_block", LongChain(numbers, "chain")});
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
  cases.push_back({"long_at_random", LongChain(numbers, "chain")});
  return cases;
}

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
  // Backwards from the end, the same records in reverse.
  ASSERT_EQ(pel_cursor_to_end(table.cursor()), PEL_OK);
  std::vector<std::uint8_t> record(table.info().record_size);
  for (std::uint32_t k = total; k-- > 0;) {
    ASSERT_EQ(pel_cursor_prior(table.cursor(), record.data()), PEL_OK);
    ASSERT_EQ(record, records[k]) << "record " << k;
  }
  EXPECT_EQ(pel_cursor_prior(table.cursor(), record.data()), PEL_AT_BEGINNING);
  // Going to a sequence number lands on the same record, in any order.
  std::vector<std::uint32_t> sequences(total);
  std::iota(sequences.begin(), sequences.end(), 1u);
  std::shuffle(sequences.begin(), sequences.end(), std::mt19937(11));
  for (const std::uint32_t sequence : sequences) {
    ASSERT_EQ(pel_cursor_to_sequence(table.cursor(), sequence), PEL_OK);
    ASSERT_EQ(pel_cursor_current(table.cursor(), record.data()), PEL_OK);
    ASSERT_EQ(record, records[sequence - 1]) << "sequence " << sequence;
  }
  EXPECT_EQ(pel_cursor_to_sequence(table.cursor(), total + 1), PEL_NO_SUCH_RECORD);
}

INSTANTIATE_TEST_SUITE_P(Chains, ChainOrder, ::testing::ValuesIn(Chains()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pellory::engine::test
