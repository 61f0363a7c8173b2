#include "blob_file.h"

#include <algorithm>
#include <vector>

#include "byte_reader.h"
#include "engine_error.h"
#include "table_cipher.h"

namespace pellory::engine {
namespace {

constexpr std::uint64_t kUnit = 4096;

}  // namespace

BlobFile::BlobFile(const std::string& path, std::uint32_t encryption)
    : file_(path, PEL_BLOB_FILE_NOT_FOUND), encryption_(encryption) {}

void BlobFile::ReadPlain(std::uint64_t at, std::uint32_t count, std::uint8_t* out) {
  if (count == 0) return;
  if (encryption_ == 0) {
    file_.ReadAt(at, out, count, PEL_BLOB_DAMAGED);
    return;
  }
  // Encrypted files decrypt in aligned 256-byte units.
  const std::uint64_t first = at & ~std::uint64_t{255};
  const std::uint64_t end = (at + count + 255) & ~std::uint64_t{255};
  std::vector<std::uint8_t> units(static_cast<std::size_t>(end - first));
  file_.ReadAt(first, units.data(), units.size(), PEL_BLOB_DAMAGED);
  DecryptBlobUnits(units, encryption_);
  std::copy_n(units.data() + (at - first), count, out);
}

std::uint64_t BlobFile::Locate(const BlobRef& ref) {
  const std::uint64_t block = ref.pointer & 0xFFFFFF00u;
  if (block == 0 || block % kUnit != 0 || block + kUnit > file_.size())
    throw EngineError(PEL_BLOB_DAMAGED, path(),
                      "blob pointer " + std::to_string(block) + " outside the blob file");
  std::uint8_t type = 0;
  ReadPlain(block, 1, &type);
  if ((ref.pointer & 0xFF) == 0xFF) {
    if (type != 2)
      throw EngineError(PEL_BLOB_DAMAGED, path(),
                        "block at " + std::to_string(block) + " has type " + std::to_string(type) +
                            ", not a single-blob block");
    return LocateSingle(ref, block);
  }
  if (type != 3)
    throw EngineError(PEL_BLOB_DAMAGED, path(),
                      "block at " + std::to_string(block) + " has type " + std::to_string(type) +
                          ", not a suballocated block");
  return LocateSuballocated(ref, block);
}

std::uint64_t BlobFile::LocateSingle(const BlobRef& ref, std::uint64_t block) {
  std::uint8_t head[9];
  ReadPlain(block, sizeof head, head);
  const std::span<const std::uint8_t> h(head, sizeof head);
  const std::uint64_t units = ReadU16Le(h, 1);
  const std::uint32_t length = ReadU32Le(h, 3);
  if (length != ref.length)
    throw EngineError(PEL_BLOB_DAMAGED, path(),
                      "blob at " + std::to_string(block) + " holds " + std::to_string(length) +
                          " bytes, its record says " + std::to_string(ref.length));
  if (units == 0 || block + units * kUnit > file_.size() ||
      9 + std::uint64_t{length} > units * kUnit)
    throw EngineError(PEL_BLOB_DAMAGED, path(),
                      "blob at " + std::to_string(block) + " runs past its block");
  return block + 9;
}

std::uint64_t BlobFile::LocateSuballocated(const BlobRef& ref, std::uint64_t block) {
  const std::uint32_t index = ref.pointer & 0xFF;
  if (index >= 64)
    throw EngineError(PEL_BLOB_DAMAGED, path(),
                      "slot " + std::to_string(index) + " at " + std::to_string(block));
  std::uint8_t entry[5];
  ReadPlain(block + 12 + 5 * index, sizeof entry, entry);
  const std::uint64_t dataOffset = std::uint64_t{entry[0]} * 16;
  const std::uint32_t units = entry[1];
  const std::uint32_t lastBytes = entry[4];
  if (entry[0] == 0 || units == 0 || lastBytes == 0 || lastBytes > 16)
    throw EngineError(
        PEL_BLOB_DAMAGED, path(),
        "slot " + std::to_string(index) + " at " + std::to_string(block) + " is unused");
  const std::uint32_t length = (units - 1) * 16 + lastBytes;
  if (length != ref.length || dataOffset + length > kUnit)
    throw EngineError(PEL_BLOB_DAMAGED, path(),
                      "slot " + std::to_string(index) + " at " + std::to_string(block) + " holds " +
                          std::to_string(length) + " bytes, its record says " +
                          std::to_string(ref.length));
  return block + dataOffset;
}

void BlobFile::Read(std::uint64_t start, std::uint32_t offset, std::uint32_t count,
                    std::uint8_t* out) {
  ReadPlain(start + offset, count, out);
}

}  // namespace pellory::engine
