// The .MB file: a 4096-byte header block, then blocks of blobs. Values of
// 2 KiB and more get a block of their own; smaller ones share 4 KiB blocks of
// 64 slots, as Paradox stores them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "output_file.h"
#include "value_encoder.h"

namespace pellory::writer {

// A shared blob block being filled. Declared outside the writer because
// clang cannot use the default member initialisers of a nested class in
// the enclosing class's std::optional.
struct SharedBlobBlock {
  std::uint32_t offset = 0;
  std::vector<std::uint8_t> bytes;
  int nextSlot = 63;              // slots are handed out from the top down
  std::uint32_t nextUnit = 0x15;  // first data unit, just past the 64 slots
};

class BlobFileWriter {
 public:
  // encryption: the table's encryption value, 0 for a plain file. With
  // `extend`, the file exists and is added to: new blocks after its end,
  // its header and blocks as they were.
  BlobFileWriter(std::filesystem::path path, std::uint32_t encryption, bool extend = false);

  // Stores a value that does not fit its record's leader.
  BlobPlace Store(std::string_view bytes);
  // Writes the open shared block and the header block (a file added to
  // keeps its own), then closes.
  void Finish();

  static constexpr std::uint16_t kModification = 1;

 private:
  BlobPlace StoreOwnBlock(std::string_view bytes);
  BlobPlace StoreShared(std::string_view bytes);
  void FlushShared();
  void Write(std::uint32_t offset, std::vector<std::uint8_t> bytes);
  std::uint32_t Allocate(std::uint32_t units);

  OutputFile file_;
  std::uint32_t encryption_;
  bool extend_;
  std::uint32_t end_ = 4096;  // next free offset
  std::optional<SharedBlobBlock> shared_;
};

}  // namespace pellory::writer
