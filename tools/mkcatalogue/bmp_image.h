// Grey pictures as Windows bitmap files (8 bits per pixel, grey palette),
// and the 8-byte graphic header stored in front of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellory::mkcatalogue {

// Palette indices, rows top down.
struct GreyImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
};

// A BMP file whose palette has `levels` greys (2 to 256) from black (index
// 0) to white (index levels - 1); pixels must be below `levels`.
std::string EncodeGreyBmp(const GreyImage& image, int levels = 256);

// The graphic header: count 1, type hex 0100, then the size of what follows.
std::string WithGraphicHeader(const std::string& bmp);

// The picture as the table stores it: the graphic header, then the BMP
// file with 256 greys (WithGraphicHeader(EncodeGreyBmp(image)) in one go).
std::string EncodeGreyGraphic(const GreyImage& image);

}  // namespace pellory::mkcatalogue
