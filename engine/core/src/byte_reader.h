// Bounds-checked little-endian and big-endian reads from untrusted bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace pellory::engine {

inline std::uint16_t ReadU16Le(std::span<const std::uint8_t> bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 2) return 0;
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint32_t ReadU32Le(std::span<const std::uint8_t> bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 4) return 0;
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

inline std::int16_t ReadS16Le(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::int16_t>(ReadU16Le(bytes, at));
}

// Big-endian unsigned value of up to 8 bytes.
inline std::uint64_t ReadUBe(const std::uint8_t* bytes, std::size_t count) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

inline bool AllZero(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

}  // namespace pellory::engine
