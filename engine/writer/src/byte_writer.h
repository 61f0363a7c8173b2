// Little-endian writes into a buffer the writer has sized for them; the
// counterpart of the driver's byte_reader.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellory::writer {

inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

}  // namespace pellory::writer
