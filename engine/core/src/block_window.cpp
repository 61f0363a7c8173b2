#include "block_window.h"

#include <algorithm>

#include "engine_error.h"
#include "pellory/engine.h"

namespace pellory::engine {

BlockWindow::BlockWindow(const ReadOnlyFile& file, std::uint64_t firstOffset,
                         std::uint32_t blockSize, std::uint32_t physicalBlocks)
    : file_(file),
      firstOffset_(firstOffset),
      blockSize_(blockSize),
      physicalBlocks_(physicalBlocks),
      runBlocks_(std::max<std::uint32_t>(1, kRunBytes / blockSize)) {}

const std::uint8_t* BlockWindow::Block(std::uint32_t number) {
  if (number == 0 || number > physicalBlocks_)
    throw EngineError(PEL_BLOCK_DAMAGED, file_.path(),
                      "block " + std::to_string(number) + " lies past the end of the file");
  if (number < first_ || number - first_ >= count_) {
    const bool following = number == lastAsked_ + 1;
    if (following || askedInRun_ != 1 || count_ == 0) {
      // Runs start at multiples of the run length, so that a reader going
      // backwards finds the blocks before the one it asks for in the run too.
      const std::uint32_t first = (number - 1) / runBlocks_ * runBlocks_ + 1;
      Load(first, std::min(runBlocks_, physicalBlocks_ - first + 1));
    } else {
      Load(number, 1);
    }
    askedInRun_ = 0;
  }
  if (number != lastAsked_ || askedInRun_ == 0) ++askedInRun_;
  lastAsked_ = number;
  return bytes_.data() + static_cast<std::size_t>(number - first_) * blockSize_;
}

void BlockWindow::Load(std::uint32_t first, std::uint32_t count) {
  const std::size_t size = static_cast<std::size_t>(count) * blockSize_;
  if (bytes_.size() < size) bytes_.resize(size);
  // Forget the old run first: a failed read leaves nothing half-loaded.
  count_ = 0;
  file_.ReadAt(firstOffset_ + static_cast<std::uint64_t>(first - 1) * blockSize_, bytes_.data(),
               size, PEL_BLOCK_DAMAGED);
  first_ = first;
  count_ = count;
}

}  // namespace pellory::engine
