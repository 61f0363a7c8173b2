// The values one column holds in every record, from the first record on,
// each distinct value kept once: the records hold one-byte numbers into a
// list of at most 255 values. A column like a font's category has a handful
// of values, so a filter on it is evaluated once per value, not once per
// record, and once a scan has read the column to the end, later scans run
// over these numbers without reading or decrypting the file again. A column
// with more values is given up.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace pellory::engine {

class ColumnValues {
 public:
  static constexpr std::size_t kMaxValues = 255;

  struct Value {
    std::vector<std::uint8_t> bytes;  // in the engine's value format
    bool blank = false;
  };

  // valueSize: bytes of every value of the column (its value_size);
  // recordsAtMost: how many records the table can hold, room for whose
  // numbers is taken once (memory the system hands out only as it is used)
  // instead of growing the list by copies.
  ColumnValues(std::uint16_t valueSize, std::uint64_t recordsAtMost);

  // The number of this value, added when new; none once kMaxValues values
  // are known and this is another.
  std::optional<std::uint8_t> Intern(const std::uint8_t* value, bool blank);
  // The same for a text column's value given as its bytes before the zero
  // byte (at most valueSize - 1 of them): blank when there are none.
  std::optional<std::uint8_t> InternText(const std::uint8_t* text, std::size_t length);
  const Value& ValueOf(std::uint8_t number) const { return values_[number]; }
  std::size_t ValueCount() const { return values_.size(); }

  // Records 0 to known() - 1 have their value's number here.
  std::uint32_t known() const { return static_cast<std::uint32_t>(numbers_.size()); }
  void Append(std::uint8_t number);
  std::uint8_t NumberAt(std::uint32_t index) const { return numbers_[index]; }
  // Frees the spare room once the column is known to the end, when the
  // table's blocks were far from full.
  void Settle();

  // Different for every ColumnValues ever made, so that whoever remembers
  // something about one can tell it from a later one at the same address.
  std::uint64_t serial() const { return serial_; }

 private:
  static constexpr std::uint8_t kFree = 0xFF;

  // Finds or adds the value whose bytes before its trailing zeros are
  // `key`; `make` writes the whole value when it is new.
  template <typename Make>
  std::optional<std::uint8_t> Find(const std::uint8_t* key, std::size_t size, bool blank,
                                   Make make);

  std::uint16_t valueSize_;
  std::uint64_t recordsAtMost_;
  std::uint64_t serial_;
  std::vector<Value> values_;
  std::vector<std::uint16_t> trimmed_;   // value bytes without trailing zeros
  std::array<std::uint8_t, 512> slots_;  // open addressing into values_
  std::vector<std::uint8_t> numbers_;
};

}  // namespace pellory::engine
