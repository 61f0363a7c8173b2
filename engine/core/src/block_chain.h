// A table's chain of data blocks, walked from its first block only as far as
// readers have needed. A table of a million records opens without reading
// its 40,000 block headers first, and a scan walks the chain as it reads the
// blocks anyway.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pellory::engine {

struct ChainBlock {
  std::uint16_t number;
  std::uint16_t records;
  std::uint32_t firstIndex;
};

class BlockChain {
 public:
  // What a block's header says, as far as the chain needs it.
  struct Head {
    std::uint16_t next;
    std::uint16_t records;
  };
  // Reads and checks the header of block `number`; throws for damage.
  using HeadReader = std::function<Head(std::uint16_t number)>;

  // firstBlock 0: no blocks. Blocks past physicalBlocks do not exist.
  BlockChain(std::uint16_t firstBlock, std::uint32_t physicalBlocks);

  bool complete() const { return next_ == 0; }
  // Records in the blocks walked so far.
  std::uint32_t records() const { return records_; }
  const std::vector<ChainBlock>& blocks() const { return blocks_; }

  // Takes the next block into the chain. Throws PEL_BLOCK_DAMAGED naming
  // `path` for a block past the end of the file, a loop, or more records
  // than a table can count; the walk then stays where it was.
  void Step(const HeadReader& read, const std::string& path);

  // The position in blocks() of the block holding record `index` (below
  // records()); `hint` is where to look first, for readers going in order.
  std::size_t PositionOf(std::uint32_t index, std::size_t hint) const;

 private:
  std::vector<ChainBlock> blocks_;
  std::uint32_t records_ = 0;
  std::uint16_t next_;
  std::uint32_t physicalBlocks_;
  std::vector<bool> visited_;
};

}  // namespace pellory::engine
