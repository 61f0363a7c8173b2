#include "picture_packing.h"

#include <lz4.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "sample_picture.h"

namespace pellory::mkcatalogue {

std::uint32_t Checksum(std::string_view bytes) {
  uLong crc = crc32(0, nullptr, 0);
  // zlib counts in uInt: a large buffer goes in parts.
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t part = std::min<std::size_t>(bytes.size() - at, UINT_MAX);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(part));
    at += part;
  }
  return static_cast<std::uint32_t>(crc);
}

PackedPicture PackPicture(const GreyImage& picture) {
  const int size = static_cast<int>(picture.pixels.size());
  std::string room(static_cast<std::size_t>(LZ4_compressBound(size)), '\0');
  const int packedSize = LZ4_compress_default(reinterpret_cast<const char*>(picture.pixels.data()),
                                              room.data(), size, static_cast<int>(room.size()));
  if (packedSize <= 0) throw std::runtime_error("a picture does not pack");
  std::shared_ptr<char[]> bytes(new char[static_cast<std::size_t>(packedSize)]);
  std::copy_n(room.data(), packedSize, bytes.get());
  PackedPicture packed{picture.width,
                       picture.height,
                       0,
                       {bytes.get(), static_cast<std::size_t>(packedSize)},
                       std::move(bytes)};
  packed.checksum = Checksum(packed.bytes);
  return packed;
}

bool UnpackPicture(const PackedPicture& packed, GreyImage& picture) {
  if (packed.width <= 0 || packed.height <= 0 || packed.width > kPictureMaxWidth ||
      packed.height > kPictureMaxHeight || packed.bytes.size() > INT_MAX ||
      Checksum(packed.bytes) != packed.checksum)
    return false;
  const int size = packed.width * packed.height;
  picture.width = packed.width;
  picture.height = packed.height;
  picture.pixels.resize(static_cast<std::size_t>(size));
  return LZ4_decompress_safe(packed.bytes.data(), reinterpret_cast<char*>(picture.pixels.data()),
                             static_cast<int>(packed.bytes.size()), size) == size;
}

}  // namespace pellory::mkcatalogue
