// Run-length encoded pixel data (8 and 4 bits per pixel). Every command is
// checked against the bytes left and every write against the image: a run
// past the end of its row, a move out of the image or a command cut off by
// the end of the data makes the image invalid. Data that ends between two
// commands ends the image; pixels never written keep index 0.
#include <algorithm>

#include "bmp_stages.h"

namespace pellory::data::bmp {
namespace {

class RleDecoder {
 public:
  RleDecoder(const Shape& shape, std::size_t validIndices, std::span<const std::uint8_t> data,
             std::uint8_t* out)
      : shape_(shape),
        validIndices_(validIndices),
        data_(data),
        out_(out),
        fourBits_(shape.compression == Compression::kRle4) {}

  void Run() {
    std::fill_n(out_, static_cast<std::size_t>(shape_.width) * shape_.height, std::uint8_t{0});
    while (pos_ < data_.size()) {
      const auto command = Take(2);
      const std::uint8_t count = command[0], value = command[1];
      if (count > 0) {
        Repeat(count, value);
      } else if (value == 0) {
        EndOfLine();
      } else if (value == 1) {
        return;
      } else if (value == 2) {
        Move();
      } else {
        Copy(value);
      }
    }
  }

 private:
  std::span<const std::uint8_t> Take(std::size_t count) {
    if (data_.size() - pos_ < count) Invalid();
    const auto part = data_.subspan(pos_, count);
    pos_ += count;
    return part;
  }

  // The start of `count` pixels on the current row, once they fit in it.
  std::uint8_t* Span(std::size_t count) {
    if (y_ >= static_cast<std::size_t>(shape_.height) ||
        x_ + count > static_cast<std::size_t>(shape_.width)) {
      Invalid();
    }
    const std::size_t row = shape_.height - 1 - y_;
    return out_ + row * shape_.width + x_;
  }

  std::uint8_t Index(unsigned index) const {
    if (index >= validIndices_) Invalid();
    return static_cast<std::uint8_t>(index);
  }

  // An encoded run: one index, or for 4 bits two alternating indices.
  void Repeat(std::size_t count, std::uint8_t value) {
    std::uint8_t* dst = Span(count);
    if (!fourBits_) {
      std::fill_n(dst, count, Index(value));
    } else {
      const std::uint8_t first = Index(value >> 4);
      const std::uint8_t second = count > 1 ? Index(value & 0x0F) : first;
      for (std::size_t i = 0; i < count; ++i) dst[i] = (i & 1) ? second : first;
    }
    x_ += count;
  }

  // Literal indices, padded to a 16-bit boundary.
  void Copy(std::size_t count) {
    const std::size_t bytes = fourBits_ ? (count + 1) / 2 : count;
    const auto src = Take(bytes);
    pos_ = std::min(data_.size(), pos_ + (bytes & 1));
    std::uint8_t* dst = Span(count);
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned index = fourBits_ ? (src[i / 2] >> ((i & 1) ? 0 : 4)) & 0x0F : src[i];
      dst[i] = Index(index);
    }
    x_ += count;
  }

  void EndOfLine() {
    x_ = 0;
    if (++y_ > static_cast<std::size_t>(shape_.height)) Invalid();
  }

  void Move() {
    const auto delta = Take(2);
    x_ += delta[0];
    y_ += delta[1];
    if (x_ > static_cast<std::size_t>(shape_.width) ||
        y_ > static_cast<std::size_t>(shape_.height)) {
      Invalid();
    }
  }

  const Shape& shape_;
  std::size_t validIndices_;
  std::span<const std::uint8_t> data_;
  std::uint8_t* out_;
  bool fourBits_;
  std::size_t pos_ = 0;
  std::size_t x_ = 0;
  std::size_t y_ = 0;  // stored row, counted from the bottom
};

}  // namespace

void DecodeRle(const Shape& shape, std::size_t validIndices, std::span<const std::uint8_t> data,
               std::uint8_t* out) {
  RleDecoder(shape, validIndices, data, out).Run();
}

}  // namespace pellory::data::bmp
