// Values in the engine's value format (engine.h), as tests, fuzz targets and
// benchmarks spell them out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace pellory::testkit {

// Day number of 1 January 1970, counting 1 January of the year 1 as day 1.
inline constexpr std::int32_t kDay1970 = 719163;

// The value's bytes in the machine's (little-endian) order.
template <typename T>
std::vector<std::uint8_t> LittleEndian(T value) {
  std::vector<std::uint8_t> out(sizeof value);
  std::memcpy(out.data(), &value, sizeof value);
  return out;
}

// An 18-byte BCD value of precision 32: sign and decimals, then the digit
// pairs, `tail` holding the last ones (the rest are zero).
inline std::vector<std::uint8_t> Bcd(bool negative, std::uint8_t decimals,
                                     const std::vector<std::uint8_t>& tail) {
  std::vector<std::uint8_t> out(18, 0);
  out[0] = 32;
  out[1] = static_cast<std::uint8_t>((negative ? 0x80 : 0) | decimals);
  const std::size_t n = std::min<std::size_t>(tail.size(), 16);
  std::copy(tail.end() - static_cast<long>(n), tail.end(), out.end() - static_cast<long>(n));
  return out;
}

// The same from all 32 digits written out.
inline std::vector<std::uint8_t> BcdDigits(bool negative, std::uint8_t decimals,
                                           std::string_view digits32) {
  std::vector<std::uint8_t> pairs;
  for (std::size_t i = 0; i + 1 < digits32.size() && pairs.size() < 16; i += 2)
    pairs.push_back(
        static_cast<std::uint8_t>(((digits32[i] - '0') << 4) | (digits32[i + 1] - '0')));
  return Bcd(negative, decimals, pairs);
}

}  // namespace pellory::testkit
