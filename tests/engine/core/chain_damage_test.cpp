// Damage in the block chain past the first block: the chain is walked only as
// far as records are read, so the records before the damage read correctly
// and the read that reaches it fails with PEL_BLOCK_DAMAGED naming the file,
// for every cursor of the table and for counting too.
#include <gtest/gtest.h>

#include <ostream>

#include "chained_table.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

constexpr std::uint16_t kBlocks = 6, kPerBlock = 10;

void PatchHead(const fs::path& file, std::uint16_t block, std::size_t at, std::uint16_t value) {
  auto bytes = ReadBytes(file);
  const std::size_t offset = 0x800 + (block - 1u) * 1024u + at;
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  WriteBytes(file, bytes);
}

struct DamageCase {
  const char* name;
  std::uint16_t block;  // whose header is patched
  std::size_t at;       // 0: next block, 4: record area
  std::uint16_t value;
  std::uint32_t readable;  // records read before the failure
};

void PrintTo(const DamageCase& c, std::ostream* out) {
  *out << c.name;
}

const DamageCase kDamage[] = {
    {"record_area_too_large", 4, 4, 0x7000, 30}, {"record_area_not_whole_records", 4, 4, 15, 30},
    {"next_block_past_the_file", 3, 0, 50, 30},  {"chain_returns_to_an_earlier_block", 5, 0, 2, 50},
    {"chain_returns_to_itself", 6, 0, 6, 60},
};

class ChainDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ChainDamage, RecordsBeforeTheDamageReadThenTheReadThatMeetsItFails) {
  const DamageCase& c = GetParam();
  ScratchDir dir;
  const fs::path file = dir.path() / "chain.DB";
  WriteChainedTable(file, {{1, 2, 3, 4, 5, 6}, std::vector<std::uint16_t>(kBlocks, kPerBlock), ""});
  PatchHead(file, c.block, c.at, c.value);
  EngineSession session;
  // Both open at once: the second shares the first one's walk.
  OpenTable first(dir.path(), "chain.DB"), second(dir.path(), "chain.DB");
  for (const OpenTable* t : {&first, &second}) {
    SCOPED_TRACE(t == &first ? "first cursor" : "second cursor");
    const OpenTable& table = *t;
    ASSERT_EQ(table.result(), PEL_OK);
    std::vector<std::uint8_t> record(table.info().record_size);
    std::uint32_t read = 0;
    pel_result result;
    while ((result = pel_cursor_next(table.cursor(), record.data())) == PEL_OK)
      ASSERT_EQ(table.Text(record, 1), "row " + std::to_string(read++));
    EXPECT_EQ(result, PEL_BLOCK_DAMAGED);
    EXPECT_EQ(read, c.readable);
    const auto contexts = ErrorContexts();
    ASSERT_FALSE(contexts.empty());
    EXPECT_EQ(contexts[0], file.string());
    std::uint32_t count = 0;
    EXPECT_EQ(pel_cursor_count(table.cursor(), &count), PEL_BLOCK_DAMAGED);
    EXPECT_EQ(pel_cursor_to_end(table.cursor()), PEL_OK);
    EXPECT_EQ(pel_cursor_prior(table.cursor(), record.data()), PEL_BLOCK_DAMAGED);
    EXPECT_EQ(pel_cursor_to_sequence(table.cursor(), c.readable), PEL_OK);
    EXPECT_EQ(pel_cursor_to_sequence(table.cursor(), c.readable + 1), PEL_BLOCK_DAMAGED);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChainDamage, ::testing::ValuesIn(kDamage),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pellory::engine::test
