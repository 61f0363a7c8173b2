// Builds small bitmap files byte by byte for the decoder tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellory::data::testing {

using Bytes = std::vector<std::uint8_t>;

// The decoder's two refusals.
constexpr char kInvalid[] = "Bitmap image is not valid";
constexpr char kShort[] = "Stream read error";

// The first size bytes of value.
inline Bytes Cut(Bytes value, std::size_t size) {
  value.resize(size);
  return value;
}

struct BmpFields {
  std::uint32_t headerSize = 40;  // 12 writes the core form
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t planes = 1;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;            // 0: the number of colours given
  std::vector<std::uint32_t> masks = {};    // after a 40-byte header, inside a larger one
  std::vector<std::uint32_t> colours = {};  // 0x00RRGGBB; 3-byte entries with the core form
  Bytes pixels = {};
};

inline void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline Bytes MakeBmp(const BmpFields& f) {
  Bytes info;
  Put32(info, f.headerSize);
  if (f.headerSize == 12) {
    Put16(info, static_cast<std::uint16_t>(f.width));
    Put16(info, static_cast<std::uint16_t>(f.height));
    Put16(info, f.planes);
    Put16(info, f.bitsPerPixel);
  } else {
    Put32(info, static_cast<std::uint32_t>(f.width));
    Put32(info, static_cast<std::uint32_t>(f.height));
    Put16(info, f.planes);
    Put16(info, f.bitsPerPixel);
    Put32(info, f.compression);
    Put32(info, f.imageSize);
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, f.coloursUsed != 0 ? f.coloursUsed : static_cast<std::uint32_t>(f.colours.size()));
    Put32(info, 0);
    const bool masksInside = f.headerSize > 40;
    if (masksInside) {
      for (std::uint32_t m : f.masks) Put32(info, m);
    }
    while (info.size() < f.headerSize) info.push_back(0);
    if (!masksInside) {
      for (std::uint32_t m : f.masks) Put32(info, m);
    }
  }
  for (std::uint32_t c : f.colours) {
    Put16(info, c & 0xFFFF);
    info.push_back(static_cast<std::uint8_t>(c >> 16));
    if (f.headerSize != 12) info.push_back(0);
  }
  Bytes file{'B', 'M'};
  Put32(file, static_cast<std::uint32_t>(14 + info.size() + f.pixels.size()));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), f.pixels.begin(), f.pixels.end());
  // An allocation of exactly the file's size lets the address sanitizer
  // catch any read past its end.
  return Bytes(file.begin(), file.end());
}

// A value as the program stores it: the graphic header, then the file.
inline Bytes WithGraphicHeader(const Bytes& file) {
  Bytes value;
  Put16(value, 1);
  Put16(value, 0x0100);
  Put32(value, static_cast<std::uint32_t>(file.size()));
  value.insert(value.end(), file.begin(), file.end());
  return value;
}

// A value as Paradox stores a graphic: a 32-bit 1, the length, the file.
inline Bytes WithParadoxPrefix(const Bytes& file) {
  Bytes value;
  Put32(value, 1);
  Put32(value, static_cast<std::uint32_t>(file.size()));
  value.insert(value.end(), file.begin(), file.end());
  return value;
}

// Greys 0..count-1 as colour table entries.
inline std::vector<std::uint32_t> GreyTable(std::size_t count) {
  std::vector<std::uint32_t> table(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto g = static_cast<std::uint32_t>(i & 0xFF);
    table[i] = g << 16 | g << 8 | g;
  }
  return table;
}

}  // namespace pellory::data::testing
