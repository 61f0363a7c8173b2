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

std::shared_ptr<const BlockChain> TableFile::WalkChain() const {
  auto chain = std::make_shared<BlockChain>();
  std::vector<bool> visited(physicalBlocks_ + 1u, false);
  std::uint16_t number = header_.firstBlock;
  if (header_.fileBlocks == 0 && header_.numRecords == 0) number = 0;
  while (number != 0) {
    if (number > physicalBlocks_)
      ChainDamaged(path(), "block " + std::to_string(number) + " lies past the end of the file");
    if (visited[number])
      ChainDamaged(path(), "the block chain returns to block " + std::to_string(number));
    visited[number] = true;
    // Only the first 256-byte unit is needed for the block's 6-byte header,
    // and only those 6 bytes of it are decrypted: catalogues of 100,000
    // records have thousands of blocks, walked at every open. One small read
    // a block is cheaper than reading whole runs of blocks, which copies
    // every byte of the file to look at 6 of each block.
    std::uint8_t unit[256];
    file_.ReadAt(BlockOffset(number), unit, sizeof unit, PEL_BLOCK_DAMAGED);
    std::uint8_t head[6];
    std::copy_n(unit, sizeof head, head);
    if (header_.encryption != 0) DecryptBlockStart(unit, header_.encryption, number, head);
    const std::uint16_t records = RecordsInBlock(head, number);
    chain->blocks.push_back({number, records, chain->recordCount});
    if (std::uint64_t{chain->recordCount} + records > 0xFFFFFFFFu)
      ChainDamaged(path(), "more records than a table can hold");
    chain->recordCount += records;
    number = static_cast<std::uint16_t>(head[0] | (head[1] << 8));
  }
  return chain;
}

void TableFile::UseChain(std::shared_ptr<const BlockChain> chain) {
  chain_ = std::move(chain);
  blocks_.assign(chain_->blocks.size(), {});
  cachedBytes_ = 0;
  lastPosition_ = 0;
}

void TableFile::LoadChain() {
  UseChain(WalkChain());
}

ChainSource TableFile::Source() const {
  return {file_.identity(),   header_.headerSize, header_.blockSize,  header_.recordSize,
          header_.firstBlock, header_.fileBlocks, header_.numRecords, header_.encryption};
}

void TableFile::LoadChain(WalkedChains& walks) {
  const ChainSource source = Source();
  if (auto walked = walks.Find(source)) return UseChain(std::move(walked));
  auto chain = WalkChain();
  walks.Remember(source, chain);
  UseChain(std::move(chain));
}

std::size_t TableFile::ChainPosition(std::uint32_t index) {
  // Scans read in order: the last block or the next one usually holds it.
  const auto& chain = chain_->blocks;
  for (std::size_t at = lastPosition_; at < chain.size() && at < lastPosition_ + 2; ++at)
    if (chain[at].records > 0 && index >= chain[at].firstIndex &&
        index - chain[at].firstIndex < chain[at].records)
      return lastPosition_ = at;
  auto it = std::upper_bound(chain.begin(), chain.end(), index,
                             [](std::uint32_t i, const ChainBlock& b) { return i < b.firstIndex; });
  // Blocks with no records share their firstIndex with the next block; the
  // last block starting at or before index is the one holding it.
  return lastPosition_ = static_cast<std::size_t>(it - chain.begin()) - 1;
}

const std::vector<std::uint8_t>& TableFile::Block(std::size_t position) {
  constexpr std::size_t kCacheBudget = 64u << 20;
  auto& block = blocks_[position];
  if (!block.empty()) return block;
  if (cachedBytes_ + header_.blockSize > kCacheBudget) {
    for (auto& b : blocks_) std::vector<std::uint8_t>().swap(b);
    cachedBytes_ = 0;
  }
  const std::uint16_t number = chain_->blocks[position].number;
  std::vector<std::uint8_t> bytes(header_.blockSize);
  file_.ReadAt(BlockOffset(number), bytes.data(), bytes.size(), PEL_BLOCK_DAMAGED);
  if (header_.encryption != 0) DecryptDataBlock(bytes, header_.encryption, number);
  block = std::move(bytes);
  cachedBytes_ += header_.blockSize;
  return block;
}

const std::uint8_t* TableFile::RecordAt(std::uint32_t index) {
  std::uint32_t following = 0;
  return RecordAt(index, &following);
}

const std::uint8_t* TableFile::RecordAt(std::uint32_t index, std::uint32_t* following) {
  if (index >= chain_->recordCount)
    throw EngineError(PEL_NO_SUCH_RECORD, path(), "record " + std::to_string(index + 1));
  const std::size_t position = ChainPosition(index);
  const ChainBlock& block = chain_->blocks[position];
  const std::uint32_t slot = index - block.firstIndex;
  *following = block.records - slot - 1u;
  return Block(position).data() + 6 + static_cast<std::size_t>(slot) * header_.recordSize;
}

void TableFile::ReadRecord(std::uint32_t index, std::uint8_t* out) {
  std::copy_n(RecordAt(index), header_.recordSize, out);
}

}  // namespace pellory::engine
