// Uncompressed pixel rows: indexed (1, 4, 8 bits) into index bytes; bit
// fields (16, 32 bits) and 24-bit BGR into 0xAARRGGBB words.
#include <algorithm>
#include <bit>
#include <cstring>

#include "bmp_stages.h"

namespace pellory::data::bmp {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The rows in stored order and where each one goes in the top-down output.
// Only the last stored row may lack its padding; the caller has made sure
// the bytes for its pixels are there.
template <typename Out>
struct RowWalk {
  const Shape& shape;
  std::span<const std::uint8_t> data;
  Out* out;

  const std::uint8_t* Source(int r) const { return data.data() + shape.stride * r; }
  Out* Target(int r) const {
    const int row = shape.topDown ? r : shape.height - 1 - r;
    return out + static_cast<std::size_t>(row) * shape.width;
  }
};

void UnpackRow(const std::uint8_t* src, std::uint8_t* dst, int width, int bits) {
  if (bits == 8) {
    std::memcpy(dst, src, static_cast<std::size_t>(width));
  } else if (bits == 4) {
    for (int x = 0; x + 1 < width; x += 2, ++src) {
      dst[x] = *src >> 4;
      dst[x + 1] = *src & 0x0F;
    }
    if (width & 1) dst[width - 1] = *src >> 4;
  } else {
    for (int x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
  }
}

// Indices beyond the file's colour table make the image invalid; they can
// only occur when the table is shorter than the depth allows.
void CheckIndices(const std::uint8_t* row, int width, std::size_t validIndices) {
  std::uint8_t highest = 0;
  for (int x = 0; x < width; ++x) highest = std::max(highest, row[x]);
  if (highest >= validIndices) Invalid();
}

// Stored BGR bytes read as a little-endian word are already 0x??RRGGBB.
static_assert(std::endian::native == std::endian::little, "pixel words are loaded directly");
std::uint32_t LoadWord(const std::uint8_t* src) {
  std::uint32_t word;
  std::memcpy(&word, src, sizeof word);
  return word;
}

void Decode24(const RowWalk<std::uint32_t>& walk) {
  const int width = walk.shape.width;
  for (int r = 0; r < walk.shape.height; ++r) {
    const std::uint8_t* src = walk.Source(r);
    std::uint32_t* dst = walk.Target(r);
    // A word load reads one byte past the pixel, so the row's last pixel,
    // which may end the data, is read byte by byte.
    for (int x = 0; x < width - 1; ++x) dst[x] = kOpaque | (LoadWord(src + 3 * x) & 0xFFFFFFu);
    const std::uint8_t* last = src + 3 * (width - 1);
    dst[width - 1] = kOpaque | std::uint32_t{last[2]} << 16 | std::uint32_t{last[1]} << 8 | last[0];
  }
}

// Scales a channel value of `bits` bits to 8 bits, full scale giving 255.
std::uint32_t Scale(std::uint64_t value, int bits) {
  const std::uint64_t top = (std::uint64_t{1} << bits) - 1;
  return static_cast<std::uint32_t>((value * 255 + top / 2) / top);
}

// Per channel, 8-bit values for every channel value when the channel is
// narrow enough for a table; wider channels are scaled pixel by pixel.
class ChannelScaler {
 public:
  explicit ChannelScaler(const Channel& c) : c_(c) {
    if (c.bits <= 16) {
      table_.resize(std::size_t{1} << c.bits);
      for (std::size_t v = 0; v < table_.size(); ++v) {
        table_[v] = static_cast<std::uint8_t>(Scale(v, c.bits));
      }
    }
  }
  std::uint32_t operator()(std::uint32_t pixel) const {
    const std::uint32_t value = (pixel & c_.mask) >> c_.shift;
    return table_.empty() ? Scale(value, c_.bits) : table_[value];
  }

 private:
  Channel c_;
  std::vector<std::uint8_t> table_;
};

bool IsPlainRgb32(const Shape& shape) {
  return shape.bitsPerPixel == 32 && shape.channels[0].mask == 0xFF0000u &&
         shape.channels[1].mask == 0xFF00u && shape.channels[2].mask == 0xFFu;
}

void DecodeFields(const RowWalk<std::uint32_t>& walk) {
  const Shape& shape = walk.shape;
  const ChannelScaler red(shape.channels[0]), green(shape.channels[1]), blue(shape.channels[2]);
  const bool wide = shape.bitsPerPixel == 32;
  for (int r = 0; r < shape.height; ++r) {
    const std::uint8_t* src = walk.Source(r);
    std::uint32_t* dst = walk.Target(r);
    for (int x = 0; x < shape.width; ++x) {
      const std::uint32_t p = wide ? U32({src + 4 * x, 4}, 0) : U16({src + 2 * x, 2}, 0);
      dst[x] = kOpaque | red(p) << 16 | green(p) << 8 | blue(p);
    }
  }
}

void DecodePlainRgb32(const RowWalk<std::uint32_t>& walk) {
  for (int r = 0; r < walk.shape.height; ++r) {
    const std::uint8_t* src = walk.Source(r);
    std::uint32_t* dst = walk.Target(r);
    for (int x = 0; x < walk.shape.width; ++x) dst[x] = kOpaque | LoadWord(src + 4 * x);
  }
}

}  // namespace

void DecodeIndexRows(const Shape& shape, std::size_t validIndices,
                     std::span<const std::uint8_t> data, std::uint8_t* out) {
  const RowWalk<std::uint8_t> walk{shape, data, out};
  const int bits = static_cast<int>(shape.bitsPerPixel);
  const bool check = validIndices < (std::size_t{1} << bits);
  for (int r = 0; r < shape.height; ++r) {
    std::uint8_t* row = walk.Target(r);
    UnpackRow(walk.Source(r), row, shape.width, bits);
    if (check) CheckIndices(row, shape.width, validIndices);
  }
}

void DecodeColourRows(const Shape& shape, std::span<const std::uint8_t> data, std::uint32_t* out) {
  const RowWalk<std::uint32_t> walk{shape, data, out};
  if (shape.bitsPerPixel == 24) return Decode24(walk);
  return IsPlainRgb32(shape) ? DecodePlainRgb32(walk) : DecodeFields(walk);
}

}  // namespace pellory::data::bmp
