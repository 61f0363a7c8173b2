// Reading little-endian numbers out of a file's bytes (a byte vector or a
// string), as the tests of written tables and pictures check them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pellory::testkit {

template <typename Bytes>
std::uint16_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b.at(at)) |
                                    (static_cast<std::uint8_t>(b.at(at + 1)) << 8));
}

template <typename Bytes>
std::uint32_t U32(const Bytes& b, std::size_t at) {
  return U16(b, at) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}

}  // namespace pellory::testkit
