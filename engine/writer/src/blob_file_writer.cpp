#include "blob_file_writer.h"

#include <algorithm>
#include <cstring>

#include "byte_writer.h"
#include "pellory/engine/table_schema.h"
#include "table_cipher.h"

namespace pellory::writer {
namespace {

constexpr std::uint32_t kUnit = 4096;
constexpr std::size_t kOwnBlockThreshold = 0x800;
constexpr std::uint32_t kSlots = 64;
constexpr std::uint32_t kSharedUnits = kUnit / 16;

std::vector<std::uint8_t> HeaderBlock() {
  std::vector<std::uint8_t> h(kUnit, 0);
  h[0] = 0;
  Put16(h, 1, 1);
  Put16(h, 3, BlobFileWriter::kModification);
  const std::uint8_t constant[] = {0x82, 0x73, 0x02, 0x00, 0x29};
  std::memcpy(&h[5], constant, sizeof constant);
  Put16(h, 0x0B, 0x1000);
  Put16(h, 0x0D, 0x1000);
  h[0x10] = 0x10;
  Put16(h, 0x11, kSlots);
  Put16(h, 0x13, kOwnBlockThreshold);
  Put16(h, 0x29, 0x02A1);
  return h;
}

}  // namespace

BlobFileWriter::BlobFileWriter(std::filesystem::path path, std::uint32_t encryption, bool extend)
    : file_(std::move(path), extend), encryption_(encryption), extend_(extend) {
  if (!extend_) return;
  // After the last whole block; a torn block at the end is left unused. A
  // file too short for its header gets one.
  const std::uint64_t size = file_.Size();
  const std::uint64_t end = (size + kUnit - 1) / kUnit * kUnit;
  if (end > 0xFFFFFF00u) throw WriteError("the blob file would pass 4 GiB");
  end_ = std::max<std::uint32_t>(static_cast<std::uint32_t>(end), kUnit);
  extend_ = size >= kUnit;
}

BlobPlace BlobFileWriter::Store(std::string_view bytes) {
  if (bytes.size() > 0xFFFFFFF0u - kUnit) throw SchemaError("a blob of 4 GiB or more");
  return bytes.size() >= kOwnBlockThreshold ? StoreOwnBlock(bytes) : StoreShared(bytes);
}

std::uint32_t BlobFileWriter::Allocate(std::uint32_t units) {
  const std::uint64_t end = std::uint64_t{end_} + std::uint64_t{units} * kUnit;
  if (end > 0xFFFFFF00u) throw WriteError("the blob file would pass 4 GiB");
  const std::uint32_t offset = end_;
  end_ = static_cast<std::uint32_t>(end);
  return offset;
}

BlobPlace BlobFileWriter::StoreOwnBlock(std::string_view bytes) {
  const auto units = static_cast<std::uint32_t>((bytes.size() + 9 + kUnit - 1) / kUnit);
  if (units > 0xFFFF) throw SchemaError("a blob too large for one block");
  // Only the header and the tail past the bytes are zeroed first.
  std::vector<std::uint8_t> block(9, 0);
  block.reserve(std::size_t{units} * kUnit);
  block[0] = 2;
  Put16(block, 1, units);
  Put32(block, 3, static_cast<std::uint32_t>(bytes.size()));
  Put16(block, 7, kModification);
  block.insert(block.end(), bytes.begin(), bytes.end());
  block.resize(std::size_t{units} * kUnit, 0);
  const std::uint32_t offset = Allocate(units);
  Write(offset, std::move(block));
  return {offset, 0xFF, kModification};
}

BlobPlace BlobFileWriter::StoreShared(std::string_view bytes) {
  const auto units = static_cast<std::uint32_t>((bytes.size() + 15) / 16);
  if (shared_ && (shared_->nextSlot < 0 || shared_->nextUnit + units > kSharedUnits)) FlushShared();
  if (!shared_) {
    shared_.emplace();
    shared_->offset = Allocate(1);
    shared_->bytes.assign(kUnit, 0);
    shared_->bytes[0] = 3;
    Put16(shared_->bytes, 1, 1);
  }
  SharedBlobBlock& block = *shared_;
  const auto slot = static_cast<std::uint8_t>(block.nextSlot--);
  const std::size_t entry = 12 + 5 * std::size_t{slot};
  block.bytes[entry] = static_cast<std::uint8_t>(block.nextUnit);
  block.bytes[entry + 1] = static_cast<std::uint8_t>(units);
  Put16(block.bytes, entry + 2, kModification);
  block.bytes[entry + 4] = static_cast<std::uint8_t>(bytes.size() - (units - 1) * 16);
  std::memcpy(&block.bytes[block.nextUnit * 16], bytes.data(), bytes.size());
  block.nextUnit += units;
  return {block.offset, slot, kModification};
}

void BlobFileWriter::FlushShared() {
  if (!shared_) return;
  Write(shared_->offset, std::move(shared_->bytes));
  shared_.reset();
}

void BlobFileWriter::Write(std::uint32_t offset, std::vector<std::uint8_t> bytes) {
  // Every 256-byte unit of the blob file takes the same key.
  if (encryption_ != 0) engine::EncryptBlobUnits(bytes, encryption_);
  file_.WriteAt(offset, bytes);
}

void BlobFileWriter::Finish() {
  FlushShared();
  if (!extend_) Write(0, HeaderBlock());
  file_.Close();
}

}  // namespace pellory::writer
