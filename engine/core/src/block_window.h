// The stored (still encrypted) bytes of a run of consecutive data blocks,
// read from the file in one call. Reading a block at a time costs a system
// call and a copy of a few kilobytes each; runs of a quarter megabyte read a
// catalogue several times faster, and nothing is decrypted before a reader
// looks at it.
#pragma once

#include <cstdint>
#include <vector>

#include "read_only_file.h"

namespace pellory::engine {

class BlockWindow {
 public:
  // Blocks of blockSize bytes lie from firstOffset on; physicalBlocks of
  // them fit in the file.
  BlockWindow(const ReadOnlyFile& file, std::uint64_t firstOffset, std::uint32_t blockSize,
              std::uint32_t physicalBlocks);

  // The stored bytes of block `number` (from 1, at most physicalBlocks),
  // valid until the next call asks for a block outside the window. Throws
  // the file's read errors (PEL_BLOCK_DAMAGED when the file ends early).
  const std::uint8_t* Block(std::uint32_t number);

  // Bytes a run reads at most; one block when blocks are larger.
  static constexpr std::uint32_t kRunBytes = 256u << 10;

 private:
  void Load(std::uint32_t first, std::uint32_t count);

  const ReadOnlyFile& file_;
  std::uint64_t firstOffset_;
  std::uint32_t blockSize_;
  std::uint32_t physicalBlocks_;
  std::uint32_t runBlocks_;
  std::vector<std::uint8_t> bytes_;
  std::uint32_t first_ = 0, count_ = 0;  // the blocks in bytes_
  // How the blocks were asked for since the last load: a reader that takes
  // a single block from each run (a chain that jumps about the file) gets
  // single blocks, until it asks for the block after the last one again.
  std::uint32_t lastAsked_ = 0, askedInRun_ = 0;
};

}  // namespace pellory::engine
