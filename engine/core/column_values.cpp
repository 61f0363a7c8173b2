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
  while (size > 0 && value[size - 1] == 0) --size;
  return size;
}

std::uint32_t Hash(const std::uint8_t* bytes, std::size_t size) {
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 16777619u;
  return h ^ (h >> 15);
}

}  // namespace

ColumnValues::ColumnValues(std::uint16_t valueSize) : valueSize_(valueSize), serial_(NextSerial()) {
  slots_.fill(kFree);
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
