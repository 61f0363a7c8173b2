// The stages before the pixel data: file header, info header, bit masks and
// colour table, then the checks that decide whether the image can be made.
#include <algorithm>
#include <bit>

#include "bmp_stages.h"

namespace pellory::data::bmp {
namespace {

constexpr std::uint16_t kSignature = 0x4D42;  // "BM" read little-endian
constexpr std::size_t kFileHeaderSize = 14;

// Header sizes the system makes images from: the core form and the Windows
// forms (plain, with masks, with alpha mask, version 4 and version 5). The
// 64-byte OS/2 form is not among them: its compression codes mean other things.
constexpr std::array<std::uint32_t, 6> kKnownHeaderSizes{12, 40, 52, 56, 108, 124};

// Limits that keep a forged header from making the decoder allocate or fill
// far more than any picture of a font catalogue needs.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;
// Run-length data can describe a large blank canvas in a few bytes (end of
// line, delta, end of bitmap), so its canvas is capped by its own length too.
constexpr std::int64_t kRlePixelsPerByte = 1024;
constexpr std::int64_t kRleFreePixels = std::int64_t{1} << 20;

InfoHeader ReadInfoHeader(ByteReader& in) {
  InfoHeader h;
  h.size = U32(in.Take(4), 0);
  if (std::find(kKnownHeaderSizes.begin(), kKnownHeaderSizes.end(), h.size) ==
      kKnownHeaderSizes.end()) {
    Invalid();
  }
  const auto rest = in.Take(h.size - 4);
  if (h.IsCore()) {
    h.width = U16(rest, 0);
    h.height = U16(rest, 2);
    h.planes = U16(rest, 4);
    h.bitsPerPixel = U16(rest, 6);
    return h;
  }
  h.width = static_cast<std::int32_t>(U32(rest, 0));
  h.height = static_cast<std::int32_t>(U32(rest, 4));
  h.planes = U16(rest, 8);
  h.bitsPerPixel = U16(rest, 10);
  h.compression = U32(rest, 12);
  h.imageSize = U32(rest, 16);
  h.coloursUsed = U32(rest, 28);
  // Headers from 52 bytes on carry the masks themselves.
  if (h.size >= 52 && h.compression == static_cast<std::uint32_t>(Compression::kBitFields)) {
    h.masks = {U32(rest, 36), U32(rest, 40), U32(rest, 44)};
  }
  return h;
}

void ReadMasks(ByteReader& in, InfoHeader& h) {
  const bool wide = h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
  if (h.size != 40 || !wide ||
      h.compression != static_cast<std::uint32_t>(Compression::kBitFields)) {
    return;
  }
  const auto masks = in.Take(12);
  h.masks = {U32(masks, 0), U32(masks, 4), U32(masks, 8)};
}

std::uint64_t ColourCount(const InfoHeader& h) {
  if (h.coloursUsed != 0) return h.coloursUsed;
  switch (h.bitsPerPixel) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

std::vector<std::uint32_t> ReadColourTable(ByteReader& in, const InfoHeader& h) {
  const std::uint64_t count = ColourCount(h);
  const std::uint64_t entrySize = h.IsCore() ? 3 : 4;
  // Taking the bytes first bounds the table by the value's own length.
  const auto bytes = in.Take(count * entrySize);
  std::vector<std::uint32_t> table(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::size_t at = i * entrySize;
    table[i] =
        entrySize == 4
            ? U32(bytes, at)
            : static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16);
  }
  return table;
}

bool IsSupportedDepth(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

Compression CheckCompression(const InfoHeader& h) {
  switch (h.compression) {
    case 0:
      return Compression::kNone;
    case 1:
      if (h.bitsPerPixel == 8) return Compression::kRle8;
      break;
    case 2:
      if (h.bitsPerPixel == 4) return Compression::kRle4;
      break;
    case 3:
      if (h.bitsPerPixel == 16 || h.bitsPerPixel == 32) return Compression::kBitFields;
      break;
    default:
      break;
  }
  Invalid();
}

// A mask must be one run of set bits inside the pixel and share no bit with
// the other masks; 64-bit arithmetic keeps the shifts defined for 32-bit runs.
std::array<Channel, 3> CheckMasks(const std::array<std::uint32_t, 3>& masks, std::uint32_t bits) {
  std::array<Channel, 3> channels{};
  std::uint64_t seen = 0;
  const std::uint64_t pixelBits = (std::uint64_t{1} << bits) - 1;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::uint64_t mask = masks[i];
    if (mask == 0 || (mask & ~pixelBits) != 0 || (mask & seen) != 0) Invalid();
    const int shift = std::countr_zero(masks[i]);
    const std::uint64_t run = mask >> shift;
    if ((run & (run + 1)) != 0) Invalid();
    seen |= mask;
    channels[i] = {masks[i], shift, std::popcount(masks[i])};
  }
  return channels;
}

std::array<Channel, 3> DefaultChannels(std::uint32_t bits) {
  if (bits == 16) return {Channel{0x7C00, 10, 5}, Channel{0x03E0, 5, 5}, Channel{0x001F, 0, 5}};
  return {Channel{0xFF0000, 16, 8}, Channel{0xFF00, 8, 8}, Channel{0xFF, 0, 8}};
}

void CheckDimensions(const InfoHeader& h, Shape& shape) {
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0 || rows == 0 || h.width > kMaxSide || rows > kMaxSide ||
      h.width * rows > kMaxPixels) {
    Invalid();
  }
  shape.width = static_cast<int>(h.width);
  shape.height = static_cast<int>(rows);
  shape.topDown = h.height < 0;
  shape.stride = (static_cast<std::uint64_t>(h.width) * h.bitsPerPixel + 31) / 32 * 4;
}

// How many pixel bytes the image takes. Uncompressed rows must all be there
// (the last one may lack its padding); run-length data is read up to the
// stated image size, never beyond the bytes left.
std::uint64_t PixelDataBytes(const InfoHeader& h, const Shape& shape, std::size_t left) {
  const std::uint64_t rows = static_cast<std::uint64_t>(shape.height);
  if (shape.compression == Compression::kRle8 || shape.compression == Compression::kRle4) {
    const std::uint64_t stated = h.imageSize != 0 ? h.imageSize : shape.stride * rows;
    const std::uint64_t bytes = std::min<std::uint64_t>(stated, left);
    const auto pixels = static_cast<std::int64_t>(shape.width) * shape.height;
    if (pixels > kRleFreePixels + kRlePixelsPerByte * static_cast<std::int64_t>(bytes)) Invalid();
    return bytes;
  }
  const std::uint64_t lastRow =
      (static_cast<std::uint64_t>(shape.width) * shape.bitsPerPixel + 7) / 8;
  const std::uint64_t needed = shape.stride * (rows - 1) + lastRow;
  if (left < needed) ShortRead();
  return std::min<std::uint64_t>(shape.stride * rows, left);
}

}  // namespace

Layout ReadLayout(ByteReader& in) {
  const auto fileHeader = in.Take(kFileHeaderSize);
  if (U16(fileHeader, 0) != kSignature) Invalid();
  Layout layout;
  layout.header = ReadInfoHeader(in);
  if (layout.header.planes != 1) Invalid();
  ReadMasks(in, layout.header);
  layout.colourTable = ReadColourTable(in, layout.header);
  return layout;
}

Shape CheckShape(const InfoHeader& h, std::size_t pixelBytes) {
  if (!IsSupportedDepth(h.bitsPerPixel)) Invalid();
  Shape shape;
  shape.bitsPerPixel = h.bitsPerPixel;
  shape.compression = CheckCompression(h);
  CheckDimensions(h, shape);
  const bool runLength =
      shape.compression == Compression::kRle8 || shape.compression == Compression::kRle4;
  // The system makes no run-length image stored top to bottom.
  if (runLength && shape.topDown) Invalid();
  if (shape.compression == Compression::kBitFields) {
    shape.channels = CheckMasks(h.masks, h.bitsPerPixel);
  } else if (h.bitsPerPixel == 16 || h.bitsPerPixel == 32) {
    shape.channels = DefaultChannels(h.bitsPerPixel);
  }
  shape.dataBytes = PixelDataBytes(h, shape, pixelBytes);
  return shape;
}

std::size_t ValidIndices(const std::vector<std::uint32_t>& table, std::uint32_t bitsPerPixel) {
  return std::min(table.size(), std::size_t{1} << std::min<std::uint32_t>(bitsPerPixel, 8));
}

}  // namespace pellory::data::bmp
