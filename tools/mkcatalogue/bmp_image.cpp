#include "bmp_image.h"

#include <stdexcept>

namespace pellory::mkcatalogue {
namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

std::uint32_t Stride(const GreyImage& image) {
  return (static_cast<std::uint32_t>(image.width) + 3) & ~3u;
}

std::uint32_t PixelOffset(int levels) {
  return 14 + 40 + 4 * static_cast<std::uint32_t>(levels);
}

// The BMP file's size; throws for what is no grey image.
std::uint32_t BmpSize(const GreyImage& image, int levels) {
  if (levels < 2 || levels > 256 || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    throw std::invalid_argument("not a grey image");
  return PixelOffset(levels) + Stride(image) * static_cast<std::uint32_t>(image.height);
}

void AppendGreyBmp(std::string& out, const GreyImage& image, int levels) {
  const std::uint32_t stride = Stride(image);
  const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height);
  const std::uint32_t offset = PixelOffset(levels);
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
}

void AppendGraphicHeader(std::string& out, std::uint32_t size) {
  Put(out, 1, 2);
  Put(out, 0x0100, 2);
  Put(out, size, 4);
}

}  // namespace

std::string EncodeGreyBmp(const GreyImage& image, int levels) {
  std::string out;
  out.reserve(BmpSize(image, levels));
  AppendGreyBmp(out, image, levels);
  return out;
}

std::string WithGraphicHeader(const std::string& bmp) {
  std::string out;
  out.reserve(8 + bmp.size());
  AppendGraphicHeader(out, static_cast<std::uint32_t>(bmp.size()));
  return out + bmp;
}

std::string EncodeGreyGraphic(const GreyImage& image) {
  const std::uint32_t size = BmpSize(image, 256);
  std::string out;
  out.reserve(8 + size);
  AppendGraphicHeader(out, size);
  AppendGreyBmp(out, image, 256);
  return out;
}

}  // namespace pellory::mkcatalogue
