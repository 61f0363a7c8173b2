#include "bmp_image.h"

#include <stdexcept>

namespace pellory::mkcatalogue {
namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

}  // namespace

std::string EncodeGreyBmp(const GreyImage& image, int levels) {
  if (levels < 2 || levels > 256 || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    throw std::invalid_argument("not a grey image");
  const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) + 3) & ~3u;
  const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height);
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(levels);
  std::string out;
  out.reserve(offset + pixelBytes);
  out += "BM";
  Put(out, offset + pixelBytes, 4);
  Put(out, 0, 4);  // two reserved words
  Put(out, offset, 4);
  Put(out, 40, 4);
  Put(out, static_cast<std::uint32_t>(image.width), 4);
  Put(out, static_cast<std::uint32_t>(image.height), 4);  // positive: bottom row first
  Put(out, 1, 2);
  Put(out, 8, 2);
  Put(out, 0, 4);  // no compression
  Put(out, pixelBytes, 4);
  Put(out, kPixelsPerMetre, 4);
  Put(out, kPixelsPerMetre, 4);
  Put(out, static_cast<std::uint32_t>(levels), 4);
  Put(out, 0, 4);
  for (int i = 0; i < levels; ++i) {
    const auto grey = static_cast<char>(i * 255 / (levels - 1));
    out += grey;
    out += grey;
    out += grey;
    out += '\0';
  }
  for (int y = image.height - 1; y >= 0; --y) {
    const auto* row = &image.pixels[static_cast<std::size_t>(y) * image.width];
    out.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(image.width));
    out.append(stride - static_cast<std::uint32_t>(image.width), '\0');
  }
  return out;
}

std::string WithGraphicHeader(const std::string& bmp) {
  std::string out;
  Put(out, 1, 2);
  Put(out, 0x0100, 2);
  Put(out, static_cast<std::uint32_t>(bmp.size()), 4);
  return out + bmp;
}

}  // namespace pellory::mkcatalogue
