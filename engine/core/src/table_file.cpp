#include "table_file.h"

#include <algorithm>
#include <cstring>

#include "engine_error.h"
#include "pellory/engine.h"

namespace pellory::engine {
namespace {

std::vector<std::uint8_t> ReadHeaderBytes(const ReadOnlyFile& file) {
  // The header states its own size; read the fixed part first to learn it.
  const std::uint64_t available = std::min<std::uint64_t>(file.size(), 0xFFFF);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(available));
  if (!bytes.empty()) file.ReadAt(0, bytes.data(), bytes.size(), PEL_HEADER_DAMAGED);
  return bytes;
}

std::uint32_t PhysicalBlocks(const ReadOnlyFile& file, const TableHeader& header) {
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>((file.size() - header.headerSize) / header.blockSize, 0xFFFF));
}

}  // namespace

TableFile::TableFile(const std::string& path)
    : file_(path, PEL_TABLE_NOT_FOUND),
      header_(ParseTableHeader(ReadHeaderBytes(file_), path)),
      physicalBlocks_(PhysicalBlocks(file_, header_)),
      window_(file_, header_.headerSize, header_.blockSize, physicalBlocks_) {}

BlockChain::Head TableFile::ReadHead(std::uint16_t number) {
  const std::uint8_t* block = window_.Block(number);
  std::uint8_t head[6];
  if (DataBlockCipher* cipher = shared_->cipher())
    cipher->Decrypt(block, number, 0, sizeof head, head);
  else
    std::memcpy(head, block, sizeof head);
  const auto addDataSize = static_cast<std::int16_t>(head[4] | (head[5] << 8));
  const int recordSize = header_.recordSize;
  const int capacity = static_cast<int>((header_.blockSize - 6) / header_.recordSize);
  std::uint16_t records = 0;
  if (addDataSize != -recordSize) {
    if (addDataSize < 0 || addDataSize % recordSize != 0 || addDataSize / recordSize >= capacity)
      throw EngineError(PEL_BLOCK_DAMAGED, path(),
                        "block " + std::to_string(number) + " states a record area of " +
                            std::to_string(addDataSize) + " bytes");
    records = static_cast<std::uint16_t>(addDataSize / recordSize + 1);
  }
  return {static_cast<std::uint16_t>(head[0] | (head[1] << 8)), records};
}

ChainSource TableFile::Source() const {
  return {file_.identity(),   header_.headerSize, header_.blockSize,  header_.recordSize,
          header_.firstBlock, header_.fileBlocks, header_.numRecords, header_.encryption};
}

void TableFile::Start(std::shared_ptr<SharedTable> shared) {
  shared_ = std::move(shared);
  lastPosition_ = 0;
  Has(0);
}

void TableFile::Open() {
  const std::uint16_t first =
      header_.fileBlocks == 0 && header_.numRecords == 0 ? 0 : header_.firstBlock;
  const std::uint64_t perBlock = (header_.blockSize - 6) / header_.recordSize;
  Start(std::make_shared<SharedTable>(first, physicalBlocks_, header_.encryption,
                                      perBlock * physicalBlocks_));
}

void TableFile::Open(SharedTables& shared) {
  const ChainSource source = Source();
  if (auto known = shared.Find(source)) return Start(std::move(known));
  Open();
  shared.Remember(source, shared_);
}

void TableFile::Walk() {
  shared_->chain().Step([this](std::uint16_t number) { return ReadHead(number); }, path());
}

bool TableFile::Has(std::uint32_t index) {
  BlockChain& chain = shared_->chain();
  while (index >= chain.records() && !chain.complete()) Walk();
  return index < chain.records();
}

std::uint32_t TableFile::RecordCount() {
  BlockChain& chain = shared_->chain();
  while (!chain.complete()) Walk();
  return chain.records();
}

TableFile::Spot TableFile::Locate(std::uint32_t index) {
  if (!Has(index))
    throw EngineError(PEL_NO_SUCH_RECORD, path(), "record " + std::to_string(index + 1));
  const BlockChain& chain = shared_->chain();
  lastPosition_ = chain.PositionOf(index, lastPosition_);
  const ChainBlock& block = chain.blocks()[lastPosition_];
  const std::uint32_t slot = index - block.firstIndex;
  return {window_.Block(block.number), block.number, 6 + slot * header_.recordSize,
          block.records - slot - 1u};
}

void TableFile::ReadRecord(std::uint32_t index, std::uint8_t* out) {
  const Spot spot = Locate(index);
  if (DataBlockCipher* cipher = shared_->cipher())
    cipher->Decrypt(spot.block, spot.number, spot.offset, header_.recordSize, out);
  else
    std::memcpy(out, spot.block + spot.offset, header_.recordSize);
}

}  // namespace pellory::engine
