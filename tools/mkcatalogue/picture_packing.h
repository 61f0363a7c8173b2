// Sample pictures packed for the face store: the grey pixels as one LZ4
// block, with the CRC-32 of the packed bytes to find damage by.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "bmp_image.h"

namespace pellory::mkcatalogue {

struct PackedPicture {
  int width = 0, height = 0;
  std::uint32_t checksum = 0;          // CRC-32 of `bytes`
  std::string_view bytes;              // the pixels, one LZ4 block
  std::shared_ptr<const char[]> keep;  // holds `bytes` (the picture's own, or a whole store's)
};

PackedPicture PackPicture(const GreyImage& picture);

// The picture again into `picture` (whose memory is reused); false when its
// size is out of bounds, its bytes fail their checksum or do not unpack to
// exactly width * height pixels.
bool UnpackPicture(const PackedPicture& packed, GreyImage& picture);

// CRC-32 of the bytes.
std::uint32_t Checksum(std::string_view bytes);

}  // namespace pellory::mkcatalogue
