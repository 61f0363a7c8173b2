// The decoder's stages and the state they hand on: reading the headers and the
// colour table (bmp_headers.cpp), uncompressed rows (bmp_rows.cpp) and
// run-length encoded data (bmp_rle.cpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pellory/data/bitmap.h"

namespace pellory::data::bmp {

[[noreturn]] inline void Invalid() {
  throw EInvalidGraphic();
}
[[noreturn]] inline void ShortRead() {
  throw StreamReadError();
}

// Reads forward through the bitmap bytes; running out is a stream read error.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - pos_; }
  std::span<const std::uint8_t> Take(std::uint64_t count) {
    if (count > Left()) ShortRead();
    auto part = bytes_.subspan(pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
    return part;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

inline std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
inline std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

enum class Compression : std::uint32_t { kNone = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// The fields of the info header the decoder uses, widened so that no later
// arithmetic on them can overflow.
struct InfoHeader {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top to bottom
  std::uint32_t planes = 0;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue; for bit-field images
  bool IsCore() const { return size == 12; }
};

// The file header, the info header, the masks and the colour table: what
// comes before the pixel data.
struct Layout {
  InfoHeader header;
  std::vector<std::uint32_t> colourTable;
};

Layout ReadLayout(ByteReader& in);

// One channel of a bit-field pixel: its mask position and width, and how its
// values scale to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

// The validated shape of the image to make.
struct Shape {
  int width = 0;
  int height = 0;
  bool topDown = false;
  std::uint32_t bitsPerPixel = 0;
  Compression compression = Compression::kNone;
  std::uint64_t stride = 0;     // bytes per stored row, padded to 32 bits
  std::uint64_t dataBytes = 0;  // pixel data to read after the colour table
  std::array<Channel, 3> channels{};
};

// Checks everything the pixel stages rely on; "not valid" when the system
// could not make such an image or it would be larger than the data justifies.
Shape CheckShape(const InfoHeader& header, std::size_t pixelBytes);

// How many indices the colour table gives a colour: at most 2^bits.
std::size_t ValidIndices(const std::vector<std::uint32_t>& table, std::uint32_t bitsPerPixel);

// Uncompressed rows of 1, 4 or 8 bits into one index byte per pixel; an
// index at or beyond validIndices makes the image invalid.
void DecodeIndexRows(const Shape& shape, std::size_t validIndices,
                     std::span<const std::uint8_t> data, std::uint8_t* out);
// Uncompressed rows of 16, 24 or 32 bits into 0xAARRGGBB words.
void DecodeColourRows(const Shape& shape, std::span<const std::uint8_t> data, std::uint32_t* out);
// Run-length encoded data into index bytes, as DecodeIndexRows.
void DecodeRle(const Shape& shape, std::size_t validIndices, std::span<const std::uint8_t> data,
               std::uint8_t* out);

}  // namespace pellory::data::bmp
