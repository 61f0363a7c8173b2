// A table's block chain as one walk found it, and the walks still in use: a
// second cursor on the same unchanged file takes the first one's walk instead
// of reading every block header again (the main window opens its catalogue
// twice, and a 100,000-record catalogue has thousands of blocks).
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "read_only_file.h"

namespace pellory::engine {

struct ChainBlock {
  std::uint16_t number;
  std::uint16_t records;
  std::uint32_t firstIndex;
};

// Never changed after the walk, so cursors share it freely.
struct BlockChain {
  std::vector<ChainBlock> blocks;
  std::uint32_t recordCount = 0;
};

// Everything a walk's result depends on: the file in its state at opening,
// and the header values that shape the walk. With the header values in the
// key, even a file rewritten within one timestamp tick can only ever pair a
// walk with the block and record sizes it was checked against.
struct ChainSource {
  FileIdentity file;
  std::uint32_t headerSize = 0, blockSize = 0, recordSize = 0;
  std::uint32_t firstBlock = 0, fileBlocks = 0, numRecords = 0, encryption = 0;
  auto operator<=>(const ChainSource&) const = default;
};

// Holds no walk alive: an entry lasts while some open table holds its walk,
// and that table's open descriptor keeps the inode from being reused.
class WalkedChains {
 public:
  // The walk of this source that an open table still holds, or null.
  std::shared_ptr<const BlockChain> Find(const ChainSource& source) const;
  void Remember(const ChainSource& source, const std::shared_ptr<const BlockChain>& chain);

 private:
  std::map<ChainSource, std::weak_ptr<const BlockChain>> walks_;
};

}  // namespace pellory::engine
