#include "table_file.h"

#include <algorithm>

#include "byte_reader.h"
#include "engine_error.h"
#include "pellory/engine.h"
#include "table_cipher.h"

namespace pellory::engine {
namespace {

std::vector<std::uint8_t> ReadHeaderBytes(const ReadOnlyFile& file) {
  // The header states its own size; read the fixed part first to learn it.
  const std::uint64_t available = std::min<std::uint64_t>(file.size(), 0xFFFF);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(available));
  if (!bytes.empty()) file.ReadAt(0, bytes.data(), bytes.size(), PEL_HEADER_DAMAGED);
  return bytes;
}

[[noreturn]] void ChainDamaged(const std::string& path, const std::string& detail) {
  throw EngineError(PEL_BLOCK_DAMAGED, path, detail);
}

}  // namespace

TableFile::TableFile(const std::string& path)
    : file_(path, PEL_TABLE_NOT_FOUND), header_(ParseTableHeader(ReadHeaderBytes(file_), path)) {
  physicalBlocks_ = static_cast<std::uint32_t>(
      std::min<std::uint64_t>((file_.size() - header_.headerSize) / header_.blockSize, 0xFFFF));
}

std::uint64_t TableFile::BlockOffset(std::uint16_t number) const {
  return header_.headerSize + static_cast<std::uint64_t>(number - 1) * header_.blockSize;
}

std::uint16_t TableFile::RecordsInBlock(const std::uint8_t* blockHeader,
                                        std::uint16_t number) const {
  const auto addDataSize = static_cast<std::int16_t>(blockHeader[4] | (blockHeader[5] << 8));
  const int recordSize = header_.recordSize;
  const int capacity = static_cast<int>((header_.blockSize - 6) / header_.recordSize);
  if (addDataSize == -recordSize) return 0;
  if (addDataSize < 0 || addDataSize % recordSize != 0 || addDataSize / recordSize >= capacity)
    ChainDamaged(path(), "block " + std::to_string(number) + " states a record area of " +
                             std::to_string(addDataSize) + " bytes");
  return static_cast<std::uint16_t>(addDataSize / recordSize + 1);
}

void TableFile::LoadChain() {
  chain_.clear();
  recordCount_ = 0;
  std::vector<bool> visited(physicalBlocks_ + 1u, false);
  std::uint16_t number = header_.firstBlock;
  if (header_.fileBlocks == 0 && header_.numRecords == 0) number = 0;
  while (number != 0) {
    if (number > physicalBlocks_)
      ChainDamaged(path(), "block " + std::to_string(number) + " lies past the end of the file");
    if (visited[number])
      ChainDamaged(path(), "the block chain returns to block " + std::to_string(number));
    visited[number] = true;
    // Only the first 256-byte unit is needed for the block's header.
    std::uint8_t unit[256];
    file_.ReadAt(BlockOffset(number), unit, sizeof unit, PEL_BLOCK_DAMAGED);
    if (header_.encryption != 0) DecryptDataBlock(unit, header_.encryption, number);
    const std::uint16_t records = RecordsInBlock(unit, number);
    chain_.push_back({number, records, recordCount_});
    recordCount_ += records;
    number = static_cast<std::uint16_t>(unit[0] | (unit[1] << 8));
  }
}

std::size_t TableFile::ChainPosition(std::uint32_t index) const {
  auto it = std::upper_bound(chain_.begin(), chain_.end(), index,
                             [](std::uint32_t i, const ChainBlock& b) { return i < b.firstIndex; });
  return static_cast<std::size_t>(it - chain_.begin()) - 1;
}

void TableFile::LoadBlock(std::uint16_t number) {
  if (cachedNumber_ == number) return;
  cachedNumber_ = 0;
  cached_.resize(header_.blockSize);
  file_.ReadAt(BlockOffset(number), cached_.data(), cached_.size(), PEL_BLOCK_DAMAGED);
  if (header_.encryption != 0) DecryptDataBlock(cached_, header_.encryption, number);
  cachedNumber_ = number;
}

void TableFile::ReadRecord(std::uint32_t index, std::uint8_t* out) {
  if (index >= recordCount_)
    throw EngineError(PEL_NO_SUCH_RECORD, path(), "record " + std::to_string(index + 1));
  // Blocks with no records share their firstIndex with the next block, so
  // step past them.
  std::size_t at = ChainPosition(index);
  while (chain_[at].records == 0 && at + 1 < chain_.size()) ++at;
  const ChainBlock& block = chain_[at];
  LoadBlock(block.number);
  const std::size_t offset =
      6 + static_cast<std::size_t>(index - block.firstIndex) * header_.recordSize;
  std::copy_n(cached_.data() + offset, header_.recordSize, out);
}

}  // namespace pellory::engine
