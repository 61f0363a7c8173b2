// Writes small tables whose block chain runs in an order other than the
// blocks' order in the file, optionally encrypted: one alpha column "Name"
// (A10) and one long integer column "Number".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pellory::engine::test {

struct ChainedTable {
  // chain[i] is the physical number of the i-th block in the chain;
  // perBlock[i] the records it holds. Record k is ("row k", k).
  std::vector<std::uint16_t> chain;
  std::vector<std::uint16_t> perBlock;
  std::string password;  // empty: not encrypted
};

void WriteChainedTable(const std::filesystem::path& file, const ChainedTable& table);

}  // namespace pellory::engine::test
