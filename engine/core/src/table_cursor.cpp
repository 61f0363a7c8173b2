#include "table_cursor.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "engine_error.h"

namespace pellory::engine {

TableCursor::TableCursor(std::unique_ptr<TableFile> table, bool writable)
    : table_(std::move(table)),
      writable_(writable),
      codePage_(table_->header().codePage),
      stored_(table_->header(), table_->shared().cipher()) {
  const auto& columns = table_->header().columns;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    pel_field_descriptor d = DescribeColumn(columns[i], static_cast<std::uint16_t>(i + 1));
    const std::string name = codePage_.ToUtf8(columns[i].rawName);
    const std::size_t n = std::min(name.size(), sizeof d.name - 1);
    std::memcpy(d.name, name.data(), n);
    d.name[n] = 0;
    if (d.logical_type == PEL_TYPE_BLOB) ++blobCount_;
    fields_.push_back(d);
  }
  value_.resize(256);
  if (blobCount_ > 0) {
    // A table's blobs belong with its records as they were when it opened;
    // a blob file opened later could be a newer one. One that cannot be
    // opened fails the first read that needs it.
    try {
      blobs_ = std::make_unique<BlobFile>(BlobPathFor(path()), table_->header().encryption);
    } catch (const EngineError&) {
      blobsMissing_ = std::current_exception();
    }
  }
}

pel_cursor_info TableCursor::Info() const {
  pel_cursor_info info{};
  info.record_size = table_->header().recordSize;
  info.bookmark_size = kBookmarkSize;
  info.field_count = static_cast<std::uint16_t>(fields_.size());
  info.blob_count = blobCount_;
  info.writable = writable_ ? 1 : 0;
  info.numbering = PEL_NUMBERING_SEQUENCE;
  info.table_version = table_->header().version;
  info.code_page = codePage_.number();
  info.encrypted = table_->header().encryption != 0 ? 1 : 0;
  return info;
}

void TableCursor::ToSequence(std::uint32_t sequence) {
  if (sequence == 0 || !table_->Has(sequence - 1))
    throw EngineError(PEL_NO_SUCH_RECORD, path(), "sequence number " + std::to_string(sequence));
  position_ = Position::On;
  index_ = sequence - 1;
}

std::uint32_t TableCursor::Sequence() const {
  if (position_ != Position::On) throw EngineError(PEL_NO_CURRENT_RECORD, path());
  return index_ + 1;
}

std::uint16_t TableCursor::Current(std::uint8_t* record) {
  if (position_ != Position::On) return PEL_NO_CURRENT_RECORD;
  if (record) table_->ReadRecord(index_, record);
  return PEL_OK;
}

void TableCursor::Bookmark(std::uint8_t* out) const {
  // The sequence number and its complement, so a foreign buffer is caught.
  const std::uint32_t sequence = Sequence();
  const std::uint32_t check = ~sequence;
  std::memcpy(out, &sequence, 4);
  std::memcpy(out + 4, &check, 4);
}

void TableCursor::ToBookmark(const std::uint8_t* bookmark) {
  std::uint32_t sequence = 0, check = 0;
  std::memcpy(&sequence, bookmark, 4);
  std::memcpy(&check, bookmark + 4, 4);
  if (check != ~sequence) throw EngineError(PEL_NO_SUCH_RECORD, path(), "not a bookmark");
  ToSequence(sequence);
}

const pel_field_descriptor& TableCursor::Field(std::uint16_t field) const {
  if (field == 0 || field > fields_.size())
    throw EngineError(PEL_NO_SUCH_FIELD, path(), "field " + std::to_string(field));
  return fields_[field - 1];
}

bool TableCursor::FieldValue(std::uint16_t field, const std::uint8_t* record,
                             std::uint8_t* out) const {
  const pel_field_descriptor& d = Field(field);
  return DecodeField(table_->header().columns[field - 1], d, record, out);
}

BlobRef TableCursor::BlobOf(std::uint16_t field, const std::uint8_t* record) const {
  const pel_field_descriptor& d = Field(field);
  if (d.logical_type != PEL_TYPE_BLOB)
    throw EngineError(PEL_NOT_A_BLOB, path(), "field " + std::to_string(field));
  return ReadBlobRef(table_->header().columns[field - 1], record);
}

BlobFile& TableCursor::Blobs() {
  if (!blobs_) {
    if (blobsMissing_) std::rethrow_exception(blobsMissing_);
    throw EngineError(PEL_NOT_A_BLOB, path(), "the table has no blob columns");
  }
  return *blobs_;
}

void TableCursor::BlobOpen(std::uint16_t field, const std::uint8_t* record) {
  const BlobRef ref = BlobOf(field, record);
  std::uint64_t start = 0;
  if (ref.length > ref.leaderSize) start = Blobs().Locate(ref);
  openBlobs_[field] = {ref.pointer, ref.length, start};
}

std::uint32_t TableCursor::BlobSize(std::uint16_t field, const std::uint8_t* record) const {
  return BlobOf(field, record).length;
}

std::uint16_t TableCursor::BlobRead(std::uint16_t field, const std::uint8_t* record,
                                    std::uint32_t offset, std::uint32_t count, std::uint8_t* out,
                                    std::uint32_t* got) {
  const BlobRef ref = BlobOf(field, record);
  const auto open = openBlobs_.find(field);
  if (open == openBlobs_.end() || open->second.pointer != ref.pointer ||
      open->second.length != ref.length)
    throw EngineError(PEL_BLOB_NOT_OPEN, path(), "field " + std::to_string(field));
  const std::uint32_t left = offset < ref.length ? ref.length - offset : 0;
  const std::uint32_t n = std::min(count, left);
  if (ref.length <= ref.leaderSize)
    std::copy_n(ref.leader + offset, n, out);  // the whole value sits in the record
  else
    Blobs().Read(open->second.start, offset, n, out);
  *got = n;
  return n < count ? PEL_END_OF_BLOB : PEL_OK;
}

void TableCursor::BlobFree(std::uint16_t field) {
  openBlobs_.erase(field);
}

void TableCursor::ReadWholeBlob(std::uint16_t field, const std::uint8_t* record,
                                std::vector<std::uint8_t>& out) {
  const BlobRef ref = BlobOf(field, record);
  if (ref.length <= ref.leaderSize) {
    out.assign(ref.leader, ref.leader + ref.length);  // the whole value sits in the record
    return;
  }
  // Locate checks the length against the blob file, so a damaged length
  // fails there instead of allocating or reading past the file.
  const std::uint64_t start = Blobs().Locate(ref);
  out.resize(ref.length);
  Blobs().Read(start, 0, ref.length, out.data());
}

TableFilter* TableCursor::AddFilter(std::span<const std::uint8_t> expression) {
  auto filter = std::make_unique<TableFilter>();
  filter->expression.assign(expression.begin(), expression.end());
  std::string error;
  filter->check = CheckFilter(filter->expression, fields_, &error);
  if (!filter->check) throw EngineError(PEL_FILTER_INVALID, path(), error);
  filters_.push_back(std::move(filter));
  return filters_.back().get();
}

bool TableCursor::OwnsFilter(const TableFilter* filter) const {
  return std::any_of(filters_.begin(), filters_.end(),
                     [&](const auto& f) { return f.get() == filter; });
}

void TableCursor::DropFilter(TableFilter* filter) {
  std::erase_if(filters_, [&](const auto& f) { return f.get() == filter; });
}

std::string BlobPathFor(const std::string& tablePath) {
  namespace fs = std::filesystem;
  fs::path p(tablePath);
  const std::string ext = p.extension().string();
  const bool lower = !ext.empty() && std::islower(static_cast<unsigned char>(ext.back()));
  fs::path first = p, second = p;
  first.replace_extension(lower ? ".mb" : ".MB");
  second.replace_extension(lower ? ".MB" : ".mb");
  std::error_code ec;
  if (!fs::exists(first, ec) && fs::exists(second, ec)) return second.string();
  return first.string();
}

}  // namespace pellory::engine
