// What the engine learns about one table file in one state, shared by every
// open table of it: the block chain as far as it has been walked, the
// decryption plans, and the column values scans have collected. The main
// window opens its catalogue twice; the second open starts where the first
// has got to.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <memory>

#include "block_chain.h"
#include "column_values.h"
#include "read_only_file.h"
#include "table_cipher.h"

namespace pellory::engine {

// Everything the shared knowledge depends on: the file in its state at
// opening, and the header values that shape the chain. With the header
// values in the key, even a file rewritten within one timestamp tick can
// only ever pair a walk with the block and record sizes it was checked
// against.
struct ChainSource {
  FileIdentity file;
  std::uint32_t headerSize = 0, blockSize = 0, recordSize = 0;
  std::uint32_t firstBlock = 0, fileBlocks = 0, numRecords = 0, encryption = 0;
  auto operator<=>(const ChainSource&) const = default;
};

class SharedTable {
 public:
  // recordsAtMost: how many records the file's blocks can hold, which
  // bounds the memory of its column values.
  SharedTable(std::uint16_t firstBlock, std::uint32_t physicalBlocks, std::uint32_t encryption,
              std::uint64_t recordsAtMost);

  BlockChain& chain() { return chain_; }
  // Null for a table without a password.
  DataBlockCipher* cipher() { return cipher_.get(); }

  // The values collected of column `field` (from 1), made on first asking;
  // null once the column has been given up or would not fit the budget.
  ColumnValues* Column(std::uint16_t field, std::uint16_t valueSize);
  // Forgets a column with too many values, for good.
  void GiveUp(std::uint16_t field);

  // Bytes all columns of one table may take at most.
  static constexpr std::uint64_t kColumnBudget = 4u << 20;

 private:
  BlockChain chain_;
  std::unique_ptr<DataBlockCipher> cipher_;
  std::uint64_t recordsAtMost_;
  std::map<std::uint16_t, std::unique_ptr<ColumnValues>> columns_;  // null: given up
};

// The shared knowledge of the files open tables hold. Holds none of it
// alive: an entry lasts while some open table holds it, and that table's
// open descriptor keeps the file's inode from being reused.
class SharedTables {
 public:
  // The knowledge of this source that an open table still holds, or null.
  std::shared_ptr<SharedTable> Find(const ChainSource& source) const;
  void Remember(const ChainSource& source, const std::shared_ptr<SharedTable>& table);

 private:
  std::map<ChainSource, std::weak_ptr<SharedTable>> tables_;
};

}  // namespace pellory::engine
