// A cursor on one opened table: position, record reads in chain order,
// filters, field values and blobs of record buffers.
#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "blob_file.h"
#include "filter_bridge.h"
#include "pellory/engine.h"
#include "pellory/engine/code_page.h"
#include "stored_record.h"
#include "table_file.h"

namespace pellory::engine {

struct TableFilter {
  std::vector<std::uint8_t> expression;  // the engine's own copy
  std::unique_ptr<CheckedFilter> check;
  bool active = false;
  // For a filter on one field: whether each of the field's collected values
  // passes (-1 not yet known), by value number, for the values whose serial
  // is memoSerial.
  std::vector<std::int8_t> memo;
  std::uint64_t memoSerial = 0;
};

class TableCursor {
 public:
  // The table must be open (TableFile::Open). Opens the blob file beside it
  // now, so that its blobs are read from the file as it was at this moment.
  TableCursor(std::unique_ptr<TableFile> table, bool writable);

  pel_cursor_info Info() const;
  const std::vector<pel_field_descriptor>& Fields() const { return fields_; }
  const CodePage& codePage() const { return codePage_; }
  const std::string& path() const { return table_->path(); }

  void ToStart() { position_ = Position::BeforeFirst; }
  void ToEnd() { position_ = Position::AfterLast; }
  void ToSequence(std::uint32_t sequence);
  std::uint32_t Sequence() const;
  std::uint32_t Count() { return table_->RecordCount(); }
  std::uint32_t CountPassing();

  // Answers PEL_OK, PEL_AT_BEGINNING, PEL_AT_END or PEL_NO_CURRENT_RECORD.
  std::uint16_t Next(std::uint8_t* record);
  std::uint16_t Prior(std::uint8_t* record);
  std::uint16_t Current(std::uint8_t* record);

  static constexpr std::uint16_t kBookmarkSize = 8;
  void Bookmark(std::uint8_t* out) const;
  void ToBookmark(const std::uint8_t* bookmark);

  // Writes the value; answers blank. Throws PEL_NO_SUCH_FIELD.
  bool FieldValue(std::uint16_t field, const std::uint8_t* record, std::uint8_t* out) const;
  const pel_field_descriptor& Field(std::uint16_t field) const;

  void BlobOpen(std::uint16_t field, const std::uint8_t* record);
  std::uint32_t BlobSize(std::uint16_t field, const std::uint8_t* record) const;
  // Answers PEL_OK or PEL_END_OF_BLOB; *got bytes copied.
  std::uint16_t BlobRead(std::uint16_t field, const std::uint8_t* record, std::uint32_t offset,
                         std::uint32_t count, std::uint8_t* out, std::uint32_t* got);
  void BlobFree(std::uint16_t field);
  // The whole value of a blob field, for a filter's memo search; the blobs a
  // caller has open stay as they are. Throws PEL_BLOB_DAMAGED.
  void ReadWholeBlob(std::uint16_t field, const std::uint8_t* record,
                     std::vector<std::uint8_t>& out);

  TableFilter* AddFilter(std::span<const std::uint8_t> expression);
  bool OwnsFilter(const TableFilter* filter) const;
  void DropFilter(TableFilter* filter);

 private:
  enum class Position { BeforeFirst, On, AfterLast };

  // An active filter as a scan applies it: through the collected values of
  // its one field when it has them, else record by record.
  struct ScanFilter {
    TableFilter* filter;
    std::uint16_t field;   // 0: evaluated record by record
    ColumnValues* column;  // null: evaluated record by record
  };
  std::vector<ScanFilter> ScanFilters();
  // The first record from `from` on (or, backward, the last one before
  // `before`) that passes every active filter.
  std::optional<std::uint32_t> FindForward(std::uint32_t from);
  std::optional<std::uint32_t> FindBackward(std::uint32_t before);
  bool Passes(std::vector<ScanFilter>& filters, std::uint32_t index, StoredRecord& record);
  // Whether every filter passes by its collected values alone, for a record
  // whose values all filters know; false when some filter does not know it.
  bool KnownPasses(std::vector<ScanFilter>& filters, std::uint32_t index, bool* passes);
  std::optional<std::uint8_t> ValueNumber(ScanFilter& filter, std::uint32_t index,
                                          StoredRecord& record);
  bool ValuePasses(ScanFilter& filter, std::uint8_t number);
  void GiveUpColumn(std::vector<ScanFilter>& filters, std::uint16_t field);

  BlobRef BlobOf(std::uint16_t field, const std::uint8_t* record) const;
  BlobFile& Blobs();

  std::unique_ptr<TableFile> table_;
  bool writable_;
  CodePage codePage_;
  std::vector<pel_field_descriptor> fields_;
  std::uint16_t blobCount_ = 0;
  Position position_ = Position::BeforeFirst;
  std::uint32_t index_ = 0;  // record index while Position::On
  StoredRecord stored_;
  std::vector<std::uint8_t> value_;  // a field value being tested
  std::unique_ptr<BlobFile> blobs_;
  std::exception_ptr blobsMissing_;  // why the blob file could not be opened
  struct OpenBlob {
    std::uint32_t pointer;
    std::uint32_t length;
    std::uint64_t start;
  };
  std::map<std::uint16_t, OpenBlob> openBlobs_;  // by field number
  std::vector<std::unique_ptr<TableFilter>> filters_;
};

// The blob file beside a table file: same name, extension .MB in the table
// extension's case (then the other case).
std::string BlobPathFor(const std::string& tablePath);

}  // namespace pellory::engine
