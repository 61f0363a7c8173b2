#include "stored_record.h"

#include "pellory/engine.h"

namespace pellory::engine {

StoredRecord::StoredRecord(const TableHeader& header, DataBlockCipher* cipher)
    : header_(header),
      cipher_(cipher),
      scratch_(header.recordSize),
      decryptedFor_(header.columns.size(), 0) {}

void StoredRecord::Point(const TableFile::Spot& spot) {
  ++pointed_;
  spot_ = spot;
  plain_ = cipher_ ? nullptr : spot.block + spot.offset;
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
    if (layout.type == PEL_PX_ALPHA)
      cipher_->DecryptText(spot_.block, spot_.number, at, layout.width, out);
    else
      cipher_->Decrypt(spot_.block, spot_.number, at, layout.width, out);
    decryptedFor_[column] = pointed_;
  }
  return scratch_.data();
}

}  // namespace pellory::engine
