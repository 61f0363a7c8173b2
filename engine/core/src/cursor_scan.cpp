// How a cursor finds the records that pass its filters. Records are read
// straight from their stored blocks, decrypting only the columns a filter
// looks at. A filter on one field that is no blob is answered through the
// field's collected values (ColumnValues): evaluated once per distinct value,
// and once the column is known to the end, without reading the file at all.
#include <algorithm>

#include "engine_error.h"
#include "table_cursor.h"

namespace pellory::engine {
namespace {

// A record under test, as a filter reads it: each column decrypted from the
// stored block when the filter first asks for it.
class StoredValues final : public RecordValues {
 public:
  StoredValues(TableCursor& cursor, StoredRecord& record) : cursor_(cursor), record_(record) {}
  bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const override {
    const auto& fields = cursor_.Fields();
    if (number == 0 || number > fields.size()) return false;
    value.resize(fields[number - 1].value_size);
    blank = cursor_.FieldValue(number, record_.WithColumn(number - 1u), value.data());
    return true;
  }
  bool ReadBlob(std::uint16_t number, std::vector<std::uint8_t>& bytes,
                bool& blank) const override {
    const auto& fields = cursor_.Fields();
    if (number == 0 || number > fields.size() || fields[number - 1].logical_type != PEL_TYPE_BLOB)
      return false;
    cursor_.ReadWholeBlob(number, record_.WithColumn(number - 1u), bytes);
    blank = bytes.empty();
    return true;
  }

 private:
  TableCursor& cursor_;
  StoredRecord& record_;
};

// One collected value of a field, as a filter on that field alone reads it.
class CollectedValue final : public RecordValues {
 public:
  CollectedValue(std::uint16_t field, const ColumnValues::Value& value)
      : field_(field), value_(value) {}
  bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const override {
    if (number != field_) return false;
    value = value_.bytes;
    blank = value_.blank;
    return true;
  }
  bool ReadBlob(std::uint16_t, std::vector<std::uint8_t>&, bool&) const override { return false; }

 private:
  std::uint16_t field_;
  const ColumnValues::Value& value_;
};

}  // namespace

std::vector<TableCursor::ScanFilter> TableCursor::ScanFilters() {
  std::vector<ScanFilter> active;
  for (const auto& filter : filters_) {
    if (!filter->active) continue;
    ScanFilter scan{filter.get(), 0, nullptr};
    if (const auto field = filter->check->SoleField()) {
      scan.field = *field;
      scan.column = table_->shared().Column(*field, fields_[*field - 1].value_size);
    }
    active.push_back(scan);
  }
  return active;
}

void TableCursor::GiveUpColumn(std::vector<ScanFilter>& filters, std::uint16_t field) {
  table_->shared().GiveUp(field);
  for (ScanFilter& f : filters)
    if (f.field == field) f.column = nullptr;
}

std::optional<std::uint8_t> TableCursor::ValueNumber(ScanFilter& filter, std::uint32_t index,
                                                     StoredRecord& record) {
  ColumnValues& column = *filter.column;
  if (index < column.known()) return column.NumberAt(index);
  std::optional<std::uint8_t> number;
  if (table_->header().columns[filter.field - 1u].type == PEL_PX_ALPHA) {
    // A text value needs no decoding: its bytes are what tells it apart.
    const auto text = record.Text(filter.field - 1u);
    number = column.InternText(text.data(), text.size());
  } else {
    const bool blank =
        FieldValue(filter.field, record.WithColumn(filter.field - 1u), value_.data());
    number = column.Intern(value_.data(), blank);
  }
  if (number && index == column.known()) {
    column.Append(*number);
    if (table_->shared().chain().complete() && column.known() == table_->shared().chain().records())
      column.Settle();
  }
  return number;
}

bool TableCursor::ValuePasses(ScanFilter& filter, std::uint8_t number) {
  TableFilter& f = *filter.filter;
  if (f.memoSerial != filter.column->serial()) {
    f.memo.clear();
    f.memoSerial = filter.column->serial();
  }
  if (f.memo.size() <= number) f.memo.resize(number + 1u, -1);
  if (f.memo[number] < 0)
    f.memo[number] =
        f.check->Passes(CollectedValue(filter.field, filter.column->ValueOf(number))) ? 1 : 0;
  return f.memo[number] == 1;
}

bool TableCursor::Passes(std::vector<ScanFilter>& filters, std::uint32_t index,
                         StoredRecord& record) {
  for (ScanFilter& filter : filters) {
    if (filter.column) {
      if (const auto number = ValueNumber(filter, index, record)) {
        if (!ValuePasses(filter, *number)) return false;
        continue;
      }
      GiveUpColumn(filters, filter.field);  // more values than it can keep
    }
    if (!filter.filter->check->Passes(StoredValues(*this, record))) return false;
  }
  return true;
}

bool TableCursor::KnownPasses(std::vector<ScanFilter>& filters, std::uint32_t index, bool* passes) {
  *passes = true;
  for (ScanFilter& filter : filters) {
    if (!filter.column || index >= filter.column->known()) return false;
    if (*passes && !ValuePasses(filter, filter.column->NumberAt(index))) *passes = false;
  }
  return true;
}

std::optional<std::uint32_t> TableCursor::FindForward(std::uint32_t from) {
  auto filters = ScanFilters();
  if (filters.empty()) return table_->Has(from) ? std::optional(from) : std::nullopt;
  std::uint32_t index = from;
  for (;;) {
    // Records whose values every filter has collected need no reading.
    bool passes = false;
    while (KnownPasses(filters, index, &passes)) {
      if (passes) return index;
      ++index;
    }
    if (!table_->Has(index)) return std::nullopt;
    const TableFile::Spot spot = table_->Locate(index);
    // The records after it in the same block lie side by side.
    for (std::uint32_t k = 0; k <= spot.following; ++k, ++index) {
      stored_.Point({spot.block, spot.number, spot.offset + k * table_->header().recordSize, 0});
      if (Passes(filters, index, stored_)) return index;
    }
  }
}

std::optional<std::uint32_t> TableCursor::FindBackward(std::uint32_t before) {
  auto filters = ScanFilters();
  if (filters.empty()) return before > 0 ? std::optional(before - 1) : std::nullopt;
  std::uint32_t index = before;
  while (index > 0) {
    bool passes = false;
    if (KnownPasses(filters, index - 1, &passes)) {
      --index;
      if (passes) return index;
      continue;
    }
    const TableFile::Spot spot = table_->Locate(index - 1);
    const std::uint32_t slot = (spot.offset - 6) / table_->header().recordSize;
    // The records before it in the same block, nearest first.
    for (std::uint32_t k = 0; k <= slot; ++k) {
      --index;
      stored_.Point({spot.block, spot.number, spot.offset - k * table_->header().recordSize, 0});
      if (Passes(filters, index, stored_)) return index;
    }
  }
  return std::nullopt;
}

std::uint32_t TableCursor::CountPassing() {
  if (ScanFilters().empty()) return Count();
  std::uint32_t passing = 0;
  for (auto found = FindForward(0); found; found = FindForward(*found + 1)) ++passing;
  return passing;
}

std::uint16_t TableCursor::Next(std::uint8_t* record) {
  if (position_ == Position::AfterLast) return PEL_AT_END;
  const auto found = FindForward(position_ == Position::BeforeFirst ? 0 : index_ + 1);
  if (!found) {
    position_ = Position::AfterLast;
    return PEL_AT_END;
  }
  position_ = Position::On;
  index_ = *found;
  if (record) table_->ReadRecord(index_, record);
  return PEL_OK;
}

std::uint16_t TableCursor::Prior(std::uint8_t* record) {
  if (position_ == Position::BeforeFirst) return PEL_AT_BEGINNING;
  const auto found = FindBackward(position_ == Position::AfterLast ? Count() : index_);
  if (!found) {
    position_ = Position::BeforeFirst;
    return PEL_AT_BEGINNING;
  }
  position_ = Position::On;
  index_ = *found;
  if (record) table_->ReadRecord(index_, record);
  return PEL_OK;
}

}  // namespace pellory::engine
