// Entry points: the stored picture's optional 8-byte prefix, then the stages
// of bmp_stages.h in file order.
#include "pellory/data/bitmap.h"

#include "bmp_stages.h"

namespace pellory::data {
namespace {

constexpr std::size_t kPrefixSize = 8;
constexpr std::uint16_t kHeaderCount = 1;
constexpr std::uint16_t kHeaderType = 0x0100;
// Paradox writes its own prefix in front of a graphic: a 32-bit 1, then the
// image length. Its fourth byte differs from the graphic header's, so no value
// the graphic header rule accepts is read differently because of it.
constexpr std::uint32_t kParadoxFormat = 1;

std::vector<std::uint32_t> OpaquePalette(const std::vector<std::uint32_t>& table) {
  std::vector<std::uint32_t> palette(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) palette[i] = 0xFF000000u | (table[i] & 0xFFFFFFu);
  return palette;
}

}  // namespace

std::size_t StoredPictureOffset(std::span<const std::uint8_t> head, std::uint64_t valueSize) {
  if (valueSize < kPrefixSize || head.size() < kPrefixSize) return 0;
  if (bmp::U32(head, 4) != valueSize - kPrefixSize) return 0;
  const bool graphicHeader = bmp::U16(head, 0) == kHeaderCount && bmp::U16(head, 2) == kHeaderType;
  const bool paradoxPrefix = bmp::U32(head, 0) == kParadoxFormat;
  return graphicHeader || paradoxPrefix ? kPrefixSize : 0;
}

BitmapImage DecodeStoredPicture(std::span<const std::uint8_t> value) {
  return DecodeBitmap(value.subspan(StoredPictureOffset(value, value.size())));
}

BitmapImage DecodeBitmap(std::span<const std::uint8_t> bytes) {
  BitmapImage image;
  if (bytes.empty()) return image;
  bmp::ByteReader in(bytes);
  bmp::Layout layout = bmp::ReadLayout(in);
  const bmp::Shape shape = bmp::CheckShape(layout.header, in.Left());
  const auto data = in.Take(shape.dataBytes);

  const std::size_t count = static_cast<std::size_t>(shape.width) * shape.height;
  if (shape.bitsPerPixel <= 8) {
    std::vector<std::uint8_t> indices(count);
    const std::size_t valid = bmp::ValidIndices(layout.colourTable, shape.bitsPerPixel);
    if (shape.compression == bmp::Compression::kNone) {
      bmp::DecodeIndexRows(shape, valid, data, indices.data());
    } else {
      bmp::DecodeRle(shape, valid, data, indices.data());
    }
    image.indices = std::move(indices);
  } else {
    std::vector<std::uint32_t> pixels(count);
    bmp::DecodeColourRows(shape, data, pixels.data());
    image.pixels = std::move(pixels);
  }
  image.width = shape.width;
  image.height = shape.height;
  image.bitsPerPixel = static_cast<int>(shape.bitsPerPixel);
  image.palette = OpaquePalette(layout.colourTable);
  image.colourTable = std::move(layout.colourTable);
  return image;
}

std::uint32_t BitmapImage::PixelAt(int x, int y) const {
  const std::size_t at = static_cast<std::size_t>(y) * width + x;
  return IsIndexed() ? palette[indices[at]] : pixels[at];
}

std::vector<std::uint32_t> ArgbPixels(const BitmapImage& image) {
  if (!image.IsIndexed()) return image.pixels;
  std::vector<std::uint32_t> argb(image.indices.size());
  for (std::size_t i = 0; i < argb.size(); ++i) argb[i] = image.palette[image.indices[i]];
  return argb;
}

}  // namespace pellory::data
