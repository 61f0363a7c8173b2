#include "pellory/engine/table_writer.h"

#include <algorithm>
#include <optional>

#include "blob_file_writer.h"
#include "byte_writer.h"
#include "header_builder.h"
#include "output_file.h"
#include "pellory/engine/code_page.h"
#include "table_cipher.h"
#include "value_encoder.h"

namespace pellory::writer {
namespace {

constexpr std::size_t kBlockHeader = 6;

}  // namespace

class TableWriter::Impl {
 public:
  Impl(const std::filesystem::path& directory, const std::string& name, std::vector<Column> columns,
       TableOptions options);

  std::vector<BlobPointer> Append(const Row& row);
  void Finish();
  std::uint32_t records() const { return records_; }

 private:
  std::vector<std::uint8_t> EncodeRow(const Row& row, std::uint32_t& autoIncrement,
                                      std::vector<BlobPointer>& blobs);
  void FlushBlock(bool last);

  std::vector<Column> columns_;  // names in the table's code page
  std::vector<std::size_t> offsets_;
  TableOptions options_;
  std::string tableName_;
  std::uint16_t recordSize_ = 0;
  std::uint16_t headerSize_ = 0;
  std::uint32_t blockSize_ = 0;
  std::uint32_t perBlock_ = 0;
  std::uint32_t encryption_ = 0;
  OutputFile db_;
  std::optional<BlobFileWriter> blobs_;
  std::vector<std::uint8_t> block_;
  std::uint32_t inBlock_ = 0;
  std::uint32_t blocks_ = 0;
  std::uint32_t records_ = 0;
  std::uint32_t autoIncrement_ = 0;
  bool finished_ = false;
};

namespace {

std::vector<Column> Checked(std::vector<Column> columns, const engine::CodePage& page) {
  if (columns.empty() || columns.size() > 255) throw SchemaError("a table has 1 to 255 columns");
  for (auto& c : columns) {
    CheckColumn(c);
    c.name = page.FromUtf8(c.name);
  }
  for (std::size_t i = 0; i < columns.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (columns[i].name == columns[j].name)
        throw SchemaError("column '" + columns[i].name + "' appears twice");
  return columns;
}

}  // namespace

TableWriter::Impl::Impl(const std::filesystem::path& directory, const std::string& name,
                        std::vector<Column> columns, TableOptions options)
    : columns_(Checked(std::move(columns), engine::CodePage(options.codePage))),
      options_(std::move(options)),
      tableName_(engine::CodePage(options_.codePage).FromUtf8(name) + ".DB"),
      db_(directory / (name + ".DB")) {
  if (options_.password.size() > 255) throw SchemaError("passwords are at most 255 bytes");
  if (options_.blockKiB < 1 || options_.blockKiB > 32)
    throw SchemaError("block sizes are 1 to 32 KiB");
  std::size_t size = 0;
  for (const auto& c : columns_) {
    offsets_.push_back(size);
    size += ColumnWidth(c);
  }
  blockSize_ = options_.blockKiB * 1024u;
  if (size > blockSize_ - kBlockHeader) throw SchemaError("records longer than a block");
  recordSize_ = static_cast<std::uint16_t>(size);
  headerSize_ = HeaderSizeFor(columns_);
  perBlock_ = static_cast<std::uint32_t>((blockSize_ - kBlockHeader) / recordSize_);
  encryption_ = engine::PasswordChecksum(options_.password);
  if (std::any_of(columns_.begin(), columns_.end(), [](auto& c) { return IsBlobType(c.type); })) {
    if (options_.extendBlobFile.empty())
      blobs_.emplace(directory / (name + ".MB"), encryption_);
    else
      blobs_.emplace(options_.extendBlobFile, encryption_, true);
  }
  block_.assign(blockSize_, 0);
}

std::vector<std::uint8_t> TableWriter::Impl::EncodeRow(const Row& row, std::uint32_t& autoIncrement,
                                                       std::vector<BlobPointer>& blobs) {
  if (row.size() != columns_.size())
    throw SchemaError("a row of " + std::to_string(row.size()) + " values for " +
                      std::to_string(columns_.size()) + " columns");
  std::vector<std::uint8_t> record(recordSize_, 0);
  // Scalars first, so a bad value is refused before any blob is stored.
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const Column& c = columns_[i];
    if (IsBlobType(c.type)) {
      if (std::holds_alternative<StoredBlob>(row[i]) && options_.extendBlobFile.empty())
        throw SchemaError("column '" + c.name + "': a stored value needs a blob file added to");
      if (!std::holds_alternative<Blank>(row[i]) && !std::holds_alternative<std::string>(row[i]) &&
          !std::holds_alternative<StoredBlob>(row[i]))
        throw SchemaError("column '" + c.name + "': expects bytes");
      continue;
    }
    Value value = row[i];
    if (c.type == FieldType::AutoIncrement) {
      if (std::holds_alternative<Blank>(value)) value = std::int64_t{autoIncrement + 1};
      EncodeValue(c, value, &record[offsets_[i]]);
      if (std::get<std::int64_t>(value) < 1)
        throw SchemaError("column '" + c.name + "': counts from 1");
      autoIncrement = std::max<std::uint32_t>(
          autoIncrement, static_cast<std::uint32_t>(std::get<std::int64_t>(value)));
    } else {
      EncodeValue(c, value, &record[offsets_[i]]);
    }
  }
  blobs.assign(columns_.size(), BlobPointer{});
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const Column& c = columns_[i];
    if (!IsBlobType(c.type)) continue;
    if (const auto* stored = std::get_if<StoredBlob>(&row[i])) {
      EncodeStoredBlobField(c, *stored, &record[offsets_[i]]);
      blobs[i] = stored->at;
      continue;
    }
    const auto* bytes = std::get_if<std::string>(&row[i]);
    if (!bytes || bytes->empty()) continue;
    BlobPlace place;
    if (bytes->size() > c.size - 10u) {
      place = blobs_->Store(*bytes);
      blobs[i] = {(place.offset & 0xFFFFFF00u) | place.slot,
                  static_cast<std::uint32_t>(bytes->size()), place.modification};
    }
    EncodeBlobField(c, *bytes, place, &record[offsets_[i]]);
  }
  return record;
}

std::vector<BlobPointer> TableWriter::Impl::Append(const Row& row) {
  if (finished_) throw SchemaError("the table is already finished");
  if (inBlock_ == perBlock_ && blocks_ + 1 >= 0xFFFF)
    throw SchemaError("too many records for one table");
  // The row is encoded before a full block is written out, so that a
  // refused row cannot leave a block pointing to one that never comes.
  std::uint32_t autoIncrement = autoIncrement_;
  std::vector<BlobPointer> blobs;
  const auto record = EncodeRow(row, autoIncrement, blobs);
  autoIncrement_ = autoIncrement;
  if (inBlock_ == perBlock_) FlushBlock(false);
  std::copy(record.begin(), record.end(), block_.begin() + kBlockHeader + inBlock_ * recordSize_);
  ++inBlock_;
  ++records_;
  return blobs;
}

void TableWriter::Impl::FlushBlock(bool last) {
  const std::uint32_t number = ++blocks_;
  Put16(block_, 0, last ? 0 : number + 1);
  Put16(block_, 2, number - 1);
  Put16(block_, 4, (inBlock_ - 1) * recordSize_);
  if (encryption_ != 0) {
    // Each 256-byte unit takes the block's number and its own position.
    for (std::uint32_t u = 0; u < blockSize_ / 256; ++u)
      engine::EncryptUnit(
          &block_[u * 256],
          {static_cast<std::uint8_t>(encryption_), static_cast<std::uint8_t>(encryption_ >> 8),
           static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(number)});
  }
  db_.WriteAt(headerSize_ + std::uint64_t{number - 1} * blockSize_, block_);
  block_.assign(blockSize_, 0);
  inBlock_ = 0;
}

void TableWriter::Impl::Finish() {
  if (finished_) return;
  finished_ = true;
  if (inBlock_ > 0) FlushBlock(true);
  HeaderFacts facts;
  facts.columns = columns_;
  facts.tableName = tableName_;
  facts.recordSize = recordSize_;
  facts.headerSize = headerSize_;
  facts.blockKiB = options_.blockKiB;
  facts.records = records_;
  facts.blocks = static_cast<std::uint16_t>(blocks_);
  facts.encryption = encryption_;
  facts.lastAutoIncrement = autoIncrement_;
  facts.codePage = options_.codePage;
  db_.WriteAt(0, BuildHeader(facts));
  db_.Close();
  if (blobs_) blobs_->Finish();
}

TableWriter::TableWriter(const std::filesystem::path& directory, const std::string& name,
                         std::vector<Column> columns, TableOptions options)
    : impl_(std::make_unique<Impl>(directory, name, std::move(columns), std::move(options))) {}

TableWriter::~TableWriter() = default;

std::vector<BlobPointer> TableWriter::Append(const Row& row) {
  return impl_->Append(row);
}

std::uint32_t TableEncryption(const std::string& password) {
  return engine::PasswordChecksum(password);
}
void TableWriter::Finish() {
  impl_->Finish();
}
std::uint32_t TableWriter::records() const {
  return impl_->records();
}

}  // namespace pellory::writer
