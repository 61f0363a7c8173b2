#include "block_chain.h"

#include <algorithm>

#include "engine_error.h"
#include "pellory/engine.h"

namespace pellory::engine {

BlockChain::BlockChain(std::uint16_t firstBlock, std::uint32_t physicalBlocks)
    : next_(firstBlock), physicalBlocks_(physicalBlocks) {}

void BlockChain::Step(const HeadReader& read, const std::string& path) {
  if (complete()) return;
  const std::uint16_t number = next_;
  if (number > physicalBlocks_)
    throw EngineError(PEL_BLOCK_DAMAGED, path,
                      "block " + std::to_string(number) + " lies past the end of the file");
  if (visited_.empty()) visited_.assign(physicalBlocks_ + 1u, false);
  if (visited_[number])
    throw EngineError(PEL_BLOCK_DAMAGED, path,
                      "the block chain returns to block " + std::to_string(number));
  const Head head = read(number);
  if (std::uint64_t{records_} + head.records > 0xFFFFFFFFu)
    throw EngineError(PEL_BLOCK_DAMAGED, path, "more records than a table can hold");
  visited_[number] = true;
  blocks_.push_back({number, head.records, records_});
  records_ += head.records;
  next_ = head.next;
}

std::size_t BlockChain::PositionOf(std::uint32_t index, std::size_t hint) const {
  // Readers mostly go in order: the hinted block or one beside it holds it.
  const std::size_t from = hint > 0 ? hint - 1 : 0;
  for (std::size_t at = from; at < blocks_.size() && at <= hint + 1; ++at)
    if (blocks_[at].records > 0 && index >= blocks_[at].firstIndex &&
        index - blocks_[at].firstIndex < blocks_[at].records)
      return at;
  auto it = std::upper_bound(blocks_.begin(), blocks_.end(), index,
                             [](std::uint32_t i, const ChainBlock& b) { return i < b.firstIndex; });
  // Blocks with no records share their firstIndex with the next block; the
  // last block starting at or before index is the one holding it.
  return static_cast<std::size_t>(it - blocks_.begin()) - 1;
}

}  // namespace pellory::engine
