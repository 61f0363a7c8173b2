// One record as it lies in its stored block, decrypted a column at a time as
// a filter asks for the column's value: a filter on the category decrypts
// about twenty bytes of each 173-byte catalogue record, not all of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "table_cipher.h"
#include "table_file.h"
#include "table_header.h"

namespace pellory::engine {

class StoredRecord {
 public:
  // cipher: null for a table without a password.
  StoredRecord(const TableHeader& header, DataBlockCipher* cipher);

  // The record at `spot`; its block must stay in place while it is read.
  void Point(const TableFile::Spot& spot) {
    ++pointed_;
    spot_ = spot;
    plain_ = cipher_ ? nullptr : spot.block + spot.offset;
    if (cipher_ && (!plan_ || planNumber_ != spot.number)) UsePlanOf(spot.number);
  }
  // A record already decrypted, such as a caller's record buffer.
  void PointPlain(const std::uint8_t* record);

  // Record-shaped bytes in which the bytes of column `column` (from 0) hold
  // that column's stored value; text columns up to their first zero byte.
  // Valid until the next Point.
  const std::uint8_t* WithColumn(std::size_t column);
  // The bytes of text column `column` before its first zero byte.
  std::span<const std::uint8_t> Text(std::size_t column);

 private:
  void UsePlanOf(std::uint32_t number);

  const TableHeader& header_;
  DataBlockCipher* cipher_;
  const std::uint8_t* plain_ = nullptr;  // when the record needs no decrypting
  TableFile::Spot spot_{};
  const DataBlockCipher::Plan* plan_ = nullptr;  // spot_'s block's
  std::uint32_t planNumber_ = 0;
  std::vector<std::uint8_t> scratch_;
  // The record each column was last decrypted for, by a count of Points,
  // and a text column's length then.
  std::vector<std::uint64_t> decryptedFor_;
  std::vector<std::uint16_t> textLength_;
  std::uint64_t pointed_ = 0;
};

}  // namespace pellory::engine
