// One opened .DB file: its header, and its records in the table's default
// order, read through the chain of data blocks as far as a reader goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "block_window.h"
#include "read_only_file.h"
#include "shared_tables.h"
#include "table_header.h"

namespace pellory::engine {

class TableFile {
 public:
  // Opens and parses the header. Records are readable after Open, which the
  // caller calls once the password has been checked.
  explicit TableFile(const std::string& path);

  const TableHeader& header() const { return header_; }
  const std::string& path() const { return file_.path(); }
  bool Writable() const { return file_.Writable(); }

  // Starts reading with what other open tables of this file in the same
  // state have learnt (the chain walked so far, column values), or afresh,
  // and offers its own learning to them. Reads the first block's header, so
  // that a table whose chain cannot even start fails here.
  void Open(SharedTables& shared);
  // Starts reading alone.
  void Open();
  // The file's state and the header values its reading depends on.
  ChainSource Source() const;
  // Whether both tables learn about the file together.
  bool SharesWith(const TableFile& other) const { return shared_ == other.shared_; }
  SharedTable& shared() { return *shared_; }

  // Whether record `index` (from 0, chain order) exists; walks the chain as
  // far as needed. Throws PEL_BLOCK_DAMAGED for damage met on the way.
  bool Has(std::uint32_t index);
  // Walks the whole chain.
  std::uint32_t RecordCount();

  // Where a record lies: its block's stored bytes (valid until the next
  // call on this file), the block's number, the record's offset in it and
  // how many records after it share the block.
  struct Spot {
    const std::uint8_t* block;
    std::uint16_t number;
    std::uint32_t offset;
    std::uint32_t following;
  };
  // Throws PEL_NO_SUCH_RECORD when there is no record `index`.
  Spot Locate(std::uint32_t index);
  // Copies record `index`, decrypted, into out (recordSize bytes).
  void ReadRecord(std::uint32_t index, std::uint8_t* out);

 private:
  BlockChain::Head ReadHead(std::uint16_t number);
  void Start(std::shared_ptr<SharedTable> shared);
  void Walk();

  ReadOnlyFile file_;
  TableHeader header_;
  std::uint32_t physicalBlocks_ = 0;
  std::shared_ptr<SharedTable> shared_;
  BlockWindow window_;
  std::size_t lastPosition_ = 0;
};

}  // namespace pellory::engine
