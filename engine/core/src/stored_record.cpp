#include "stored_record.h"

#include <cstring>

#include "pellory/engine.h"

namespace pellory::engine {

StoredRecord::StoredRecord(const TableHeader& header, DataBlockCipher* cipher)
    : header_(header),
      cipher_(cipher),
      scratch_(header.recordSize),
      decryptedFor_(header.columns.size(), 0),
      textLength_(header.columns.size(), 0) {}

void StoredRecord::UsePlanOf(std::uint32_t number) {
  plan_ = &cipher_->PlanFor(number);
  planNumber_ = number;
}

void StoredRecord::PointPlain(const std::uint8_t* record) {
  ++pointed_;
  plain_ = record;
}

const std::uint8_t* StoredRecord::WithColumn(std::size_t column) {
  if (plain_) return plain_;
  if (decryptedFor_[column] != pointed_) {
    const ColumnLayout& layout = header_.columns[column];
    std::uint8_t* out = scratch_.data() + layout.offset;
    const std::size_t at = spot_.offset + layout.offset;
    // A text value ends at its first zero byte; the bytes after it are
    // never looked at, so they are not decrypted.
    if (layout.type == PEL_PX_ALPHA) {
      const std::size_t written =
          DataBlockCipher::DecryptText(*plan_, spot_.block, at, layout.width, out);
      const bool ended = written > 0 && out[written - 1] == 0;
      textLength_[column] = static_cast<std::uint16_t>(ended ? written - 1 : written);
    } else {
      DataBlockCipher::Decrypt(*plan_, spot_.block, at, layout.width, out);
    }
    decryptedFor_[column] = pointed_;
  }
  return scratch_.data();
}

std::span<const std::uint8_t> StoredRecord::Text(std::size_t column) {
  const ColumnLayout& layout = header_.columns[column];
  const std::uint8_t* bytes = WithColumn(column) + layout.offset;
  if (!plain_) return {bytes, textLength_[column]};  // decrypting found the end
  const void* zero = std::memchr(bytes, 0, layout.width);
  const std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes)
           : layout.width;
  return {bytes, length};
}

}  // namespace pellory::engine
