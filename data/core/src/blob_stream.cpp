#include "pellory/data/blob_stream.h"

#include <algorithm>

#include "pellory/data/blob_field.h"
#include "pellory/data/dataset.h"

namespace pellory::data {

TBlobStream::TBlobStream(const TBlobField& field) : field_(field), dataSet_(field.DataSet()) {
  if (dataSet_ == nullptr) return;
  buffer_ = dataSet_->ActiveBuffer();
  // An empty cursor opens nothing: size 0, reads give nothing.
  if (buffer_ == nullptr || field_.BlobSlot() < 0) return;
  const auto slot = static_cast<std::size_t>(field_.BlobSlot());
  if (slot < buffer_->blobSlots.size() && buffer_->blobSlots[slot].has_value()) {
    cached_ = true;
    size_ = buffer_->blobSlots[slot]->size();
    return;
  }
  if (dataSet_->BlobIsNull(field_, *buffer_)) {
    cached_ = true;
    return;
  }
  if (dataSet_->State() != DataSetState::Browse) return;
  dataSet_->RereadCurrentRecord();
  dataSet_->OpenBlob(field_);
  opened_ = true;
  size_ = dataSet_->BlobSize(field_);
}

TBlobStream::~TBlobStream() {
  if (opened_ && !cached_) {
    try {
      dataSet_->FreeBlob(field_);
    } catch (...) {
      // Nothing useful can be done about a failed release while unwinding.
    }
  }
}

std::string TBlobStream::Read(std::size_t count) {
  if (cached_) {
    const auto slot = static_cast<std::size_t>(field_.BlobSlot());
    const std::string* value =
        buffer_ != nullptr && slot < buffer_->blobSlots.size() && buffer_->blobSlots[slot]
            ? &*buffer_->blobSlots[slot]
            : nullptr;
    if (value == nullptr || position_ >= value->size()) return {};
    const std::size_t n = std::min<std::uint64_t>(count, value->size() - position_);
    std::string out = value->substr(static_cast<std::size_t>(position_), n);
    position_ += n;
    return out;
  }
  if (!opened_ || count == 0) return {};
  return ReadFromEngine(count);
}

std::string TBlobStream::ReadFromEngine(std::size_t count) {
  std::string bytes;
  const auto answer = dataSet_->ReadBlob(field_, position_, count, bytes);
  if (answer == TDataSet::BlobReadResult::NothingRead) return {};
  const std::uint64_t consumed = bytes.size();
  if (field_.Transliterate()) bytes = dataSet_->TranslateToProgram(bytes);
  if (position_ == copyEnd_) {
    copy_ += bytes;
    copyEnd_ += consumed;
    if (copyEnd_ >= size_) {
      const auto slot = static_cast<std::size_t>(field_.BlobSlot());
      if (slot >= buffer_->blobSlots.size()) buffer_->blobSlots.resize(slot + 1);
      buffer_->blobSlots[slot] = std::move(copy_);
      copy_.clear();
      cached_ = true;
      dataSet_->FreeBlob(field_);
    }
  }
  position_ += consumed;
  return bytes;
}

std::uint64_t TBlobStream::Seek(std::int64_t offset, Origin origin) {
  const std::int64_t base = origin == Origin::Beginning ? 0
                            : origin == Origin::Current ? static_cast<std::int64_t>(position_)
                                                        : static_cast<std::int64_t>(size_);
  position_ = static_cast<std::uint64_t>(std::max<std::int64_t>(0, base + offset));
  return position_;
}

}  // namespace pellory::data
