// Decoding of stored pictures: Windows bitmap files, optionally behind an
// 8-byte graphic header. Plain C++; the windows convert the result for drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace pellory::data {

// A decoded bitmap, rows from top to bottom. Like the device-independent
// bitmap it comes from, an image of 1, 4 or 8 bits per pixel keeps one colour
// index per pixel (`indices`, width * height bytes, each one below the colour
// table's size); deeper images keep 0xAARRGGBB words (`pixels`), alpha always
// 255 because stored alpha is not drawn. The colour table keeps the file's
// entries as 0xXXRRGGBB words (XX is the stored reserved byte, 0 for widened
// 3-byte entries); the palette holds the same colours as opaque 0xFFRRGGBB
// words and is empty without a colour table.
struct BitmapImage {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<std::uint8_t> indices = {};
  std::vector<std::uint32_t> pixels = {};
  std::vector<std::uint32_t> colourTable = {};
  std::vector<std::uint32_t> palette = {};

  bool IsEmpty() const { return width == 0 || height == 0; }
  bool IsIndexed() const { return bitsPerPixel <= 8; }
  // The colour of one pixel as 0xAARRGGBB, whichever form the image keeps.
  std::uint32_t PixelAt(int x, int y) const;
};

// Every pixel as 0xAARRGGBB, rows from top to bottom.
std::vector<std::uint32_t> ArgbPixels(const BitmapImage& image);

// Base of the decoder's failures; what() is the text the user sees.
class BitmapError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The value is not a bitmap this program can draw.
class EInvalidGraphic : public BitmapError {
 public:
  EInvalidGraphic() : BitmapError("Bitmap image is not valid") {}
};

// The value ends before a part the decoder has to read.
class StreamReadError : public BitmapError {
 public:
  StreamReadError() : BitmapError("Stream read error") {}
};

// Where the bitmap file starts inside a stored picture value of valueSize
// bytes, given the value's first bytes (at least min(8, valueSize) of them):
// 8 behind a graphic header or a Paradox graphic prefix, else 0.
std::size_t StoredPictureOffset(std::span<const std::uint8_t> head, std::uint64_t valueSize);

// Decodes a whole stored picture value; an empty value gives an empty image.
BitmapImage DecodeStoredPicture(std::span<const std::uint8_t> value);

// Decodes bare bitmap file bytes; no bytes give an empty image.
BitmapImage DecodeBitmap(std::span<const std::uint8_t> bytes);

}  // namespace pellory::data
