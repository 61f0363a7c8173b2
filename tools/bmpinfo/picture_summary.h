// One line per stored picture: what the program's decoder makes of it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "pellory/data/bitmap.h"

namespace pellory::tools {

// SHA-256 (lower-case hex) of the image's pixels as R, G, B, A bytes, rows
// from top to bottom.
std::string PixelDigest(const data::BitmapImage& image);

struct PictureSummary {
  bool decoded = false;
  std::string text;  // "WIDTH HEIGHT SHA256" or the decoder's message
};

// Decodes a stored value (the graphic header rule included).
PictureSummary Summarise(std::span<const std::uint8_t> value);

}  // namespace pellory::tools
