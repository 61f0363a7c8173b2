// Shared vocabulary of the data layer: column types, cursor states and the
// events a cursor sends to its data sources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellory::data {

// Column and field data types, in the order of their names in FieldTypeName().
enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
};

enum TFieldKind { fkData, fkCalculated, fkLookup };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum class DataSetState { Inactive, Browse, Edit, Insert };

// What a cursor tells its data sources, and they their links.
enum class DataEvent {
  UpdateState,
  DataSetChanged,
  DataSetScrolled,
  LayoutChanged,
  FieldChanged,
  RecordChanged,
  UpdateRecord,
  CheckBrowse,
  FocusControl,
};

class TField;

enum TFilterOption { foCaseInsensitive = 1, foNoPartialCompare = 2 };

// A set of TFilterOption values.
class TFilterOptions {
 public:
  constexpr TFilterOptions() = default;
  constexpr TFilterOptions(TFilterOption option) : bits_(option) {}  // NOLINT: a set of one
  constexpr bool Contains(TFilterOption option) const { return (bits_ & option) != 0; }
  constexpr TFilterOptions operator|(TFilterOption option) const {
    return TFilterOptions(bits_ | option);
  }
  constexpr bool operator==(const TFilterOptions&) const = default;

 private:
  constexpr explicit TFilterOptions(unsigned bits) : bits_(bits) {}
  unsigned bits_ = 0;
};

// The engine's handle of a registered filter; null for none.
using FilterHandle = void*;

// One record of a cursor's window: the record as the record source stores it,
// its position token and one cache slot per blob field.
struct RecordBuffer {
  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> position;
  std::vector<std::optional<std::string>> blobSlots;
  long recordNumber = -1;
};

}  // namespace pellory::data
