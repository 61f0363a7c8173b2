// The .MB blob file of a table: locates a blob from the pointer its record
// holds (single-blob or suballocated block) and reads its bytes, decrypting
// 256-byte units when the table is encrypted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "field_codec.h"
#include "read_only_file.h"

namespace pellory::engine {

class BlobFile {
 public:
  BlobFile(const std::string& path, std::uint32_t encryption);

  const std::string& path() const { return file_.path(); }

  // Where the blob's bytes start in the file; checks the block it points to.
  // Throws PEL_BLOB_DAMAGED.
  std::uint64_t Locate(const BlobRef& ref);
  // Reads count bytes of the blob that starts at `start` (from Locate),
  // beginning `offset` bytes into it.
  void Read(std::uint64_t start, std::uint32_t offset, std::uint32_t count, std::uint8_t* out);

 private:
  void ReadPlain(std::uint64_t at, std::uint32_t count, std::uint8_t* out);
  std::uint64_t LocateSingle(const BlobRef& ref, std::uint64_t block);
  std::uint64_t LocateSuballocated(const BlobRef& ref, std::uint64_t block);

  ReadOnlyFile file_;
  std::uint32_t encryption_;
};

}  // namespace pellory::engine
