#include "column_values.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace pellory::engine {
namespace {

std::uint64_t NextSerial() {
  static std::atomic<std::uint64_t> serial{0};
  return ++serial;
}

// Two values of one column have the same size, so the bytes before their
// trailing zeros tell them apart; text values are thus hashed only up to
// their end.
std::size_t Trimmed(const std::uint8_t* value, std::size_t size) {
  // Eight bytes at a time: text values are mostly zeros at their end.
  std::uint64_t word = 0;
  while (size >= 8 && (std::memcpy(&word, value + size - 8, 8), word == 0)) size -= 8;
  while (size > 0 && value[size - 1] == 0) --size;
  return size;
}

// The first and last eight bytes and the size: enough to spread the few
// values of a column (names like "Italic Serif" and "Italic Sans Serif"
// differ in their ends and sizes); the full comparison decides.
std::uint64_t Hash(const std::uint8_t* bytes, std::size_t size) {
  std::uint64_t first = 0, last = 0;
  std::memcpy(&first, bytes, std::min<std::size_t>(size, 8));
  if (size > 8) std::memcpy(&last, bytes + size - 8, 8);
  std::uint64_t h = (first ^ (last * 0x9E3779B97F4A7C15u) ^ size) * 0xFF51AFD7ED558CCDu;
  return h ^ (h >> 29);
}

}  // namespace

ColumnValues::ColumnValues(std::uint16_t valueSize, std::uint64_t recordsAtMost)
    : valueSize_(valueSize), recordsAtMost_(recordsAtMost), serial_(NextSerial()) {
  slots_.fill(kFree);
}

void ColumnValues::Append(std::uint8_t number) {
  if (numbers_.capacity() == 0) numbers_.reserve(static_cast<std::size_t>(recordsAtMost_));
  numbers_.push_back(number);
}

void ColumnValues::Settle() {
  if (numbers_.capacity() - numbers_.size() > numbers_.size() / 8) numbers_.shrink_to_fit();
}

template <typename Make>
std::optional<std::uint8_t> ColumnValues::Find(const std::uint8_t* key, std::size_t size,
                                               bool blank, Make make) {
  for (std::size_t slot = Hash(key, size) % slots_.size();; slot = (slot + 1) % slots_.size()) {
    const std::uint8_t number = slots_[slot];
    if (number == kFree) {
      if (values_.size() == kMaxValues) return std::nullopt;
      Value& value = values_.emplace_back();
      value.bytes.assign(valueSize_, 0);
      make(value.bytes.data());
      value.blank = blank;
      trimmed_.push_back(static_cast<std::uint16_t>(size));
      slots_[slot] = static_cast<std::uint8_t>(values_.size() - 1);
      return slots_[slot];
    }
    const Value& known = values_[number];
    if (known.blank == blank && trimmed_[number] == size &&
        std::memcmp(known.bytes.data(), key, size) == 0)
      return number;
  }
}

std::optional<std::uint8_t> ColumnValues::Intern(const std::uint8_t* value, bool blank) {
  return Find(value, Trimmed(value, valueSize_), blank,
              [&](std::uint8_t* out) { std::memcpy(out, value, valueSize_); });
}

std::optional<std::uint8_t> ColumnValues::InternText(const std::uint8_t* text, std::size_t length) {
  // A text value is its bytes and then zeros, so its bytes are its key.
  return Find(text, length, length == 0,
              [&](std::uint8_t* out) { std::memcpy(out, text, length); });
}

}  // namespace pellory::engine
