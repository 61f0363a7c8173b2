// One opened .DB file: its header and the chain of data blocks in which the
// records lie in the table's default order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "read_only_file.h"
#include "table_header.h"
#include "walked_chains.h"

namespace pellory::engine {

class TableFile {
 public:
  // Opens and parses the header. The block chain is read by LoadChain, after
  // the caller has checked the password.
  explicit TableFile(const std::string& path);

  const TableHeader& header() const { return header_; }
  const std::string& path() const { return file_.path(); }
  bool Writable() const { return file_.Writable(); }

  // Walks the chain from the first block; throws PEL_BLOCK_DAMAGED for block
  // numbers out of range, loops, wrong record counts.
  void LoadChain();
  // Like LoadChain, but takes the walk another open table made of this file
  // in the same state when `walks` has one, and offers its own walk there.
  void LoadChain(WalkedChains& walks);
  // The file's state and the header values its walk depends on.
  ChainSource Source() const;
  // Whether both tables read the records through one and the same walk.
  bool SharesChainWith(const TableFile& other) const { return chain_ == other.chain_; }

  std::uint32_t RecordCount() const { return chain_->recordCount; }
  // Copies record `index` (0-based, chain order) into out (recordSize bytes).
  void ReadRecord(std::uint32_t index, std::uint8_t* out);
  // The bytes of record `index`, valid until the next call on this file.
  const std::uint8_t* RecordAt(std::uint32_t index);
  // Like RecordAt; *following gets how many records after it lie in the same
  // block, recordSize bytes apart.
  const std::uint8_t* RecordAt(std::uint32_t index, std::uint32_t* following);

 private:
  std::uint64_t BlockOffset(std::uint16_t number) const;
  std::uint16_t RecordsInBlock(const std::uint8_t* blockHeader, std::uint16_t number) const;
  std::shared_ptr<const BlockChain> WalkChain() const;
  void UseChain(std::shared_ptr<const BlockChain> chain);
  const std::vector<std::uint8_t>& Block(std::size_t position);
  std::size_t ChainPosition(std::uint32_t index);

  ReadOnlyFile file_;
  TableHeader header_;
  std::uint32_t physicalBlocks_ = 0;
  std::shared_ptr<const BlockChain> chain_ = std::make_shared<const BlockChain>();
  // Decrypted blocks by chain position, kept while they fit the budget: the
  // files never change under a read-only engine, and scans come again.
  std::vector<std::vector<std::uint8_t>> blocks_;
  std::size_t cachedBytes_ = 0;
  std::size_t lastPosition_ = 0;
};

}  // namespace pellory::engine
