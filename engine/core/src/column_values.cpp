#include "column_values.h"

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

std::uint64_t Hash(const std::uint8_t* bytes, std::size_t size) {
  std::uint64_t h = size * 0x9E3779B97F4A7C15u;
  for (; size >= 8; bytes += 8, size -= 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDu;
    h ^= h >> 32;
  }
  std::uint64_t last = 0;
  std::memcpy(&last, bytes, size);
  h = (h ^ last) * 0xC4CEB9FE1A85EC53u;
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

std::optional<std::uint8_t> ColumnValues::Intern(const std::uint8_t* value, bool blank) {
  const std::size_t size = Trimmed(value, valueSize_);
  for (std::size_t slot = Hash(value, size) % slots_.size();; slot = (slot + 1) % slots_.size()) {
    const std::uint8_t number = slots_[slot];
    if (number == kFree) {
      if (values_.size() == kMaxValues) return std::nullopt;
      values_.push_back({{value, value + valueSize_}, blank});
      trimmed_.push_back(static_cast<std::uint16_t>(size));
      slots_[slot] = static_cast<std::uint8_t>(values_.size() - 1);
      return slots_[slot];
    }
    const Value& known = values_[number];
    if (known.blank == blank && trimmed_[number] == size &&
        std::memcmp(known.bytes.data(), value, size) == 0)
      return number;
  }
}

}  // namespace pellory::engine
