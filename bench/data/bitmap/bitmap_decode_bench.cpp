// Decoding catalogue-sized sample pictures (356 by 124, the picture box's
// client area): our decoder against Qt's BMP reading of the same bytes.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdint>
#include <vector>

#include "pellory/data/bitmap.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 356;
constexpr int kHeight = 124;

void Put(Bytes& b, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Dark strokes on a light background, roughly like a line of sample text.
std::uint8_t Ink(int x, int y) {
  const bool stroke = (x / 3 + y / 5) % 7 == 0 || ((x * 7 + y * 3) % 23) < 3;
  return stroke ? static_cast<std::uint8_t>(20 + (x + y) % 40) : static_cast<std::uint8_t>(250);
}

Bytes SamplePicture(int bits) {
  const std::uint32_t stride = (kWidth * bits + 31) / 32 * 4;
  const std::uint32_t colours = bits == 8 ? 256 : 0;
  const std::uint32_t offset = 14 + 40 + colours * 4;
  Bytes b{'B', 'M'};
  Put(b, offset + stride * kHeight, 4);
  Put(b, 0, 4);
  Put(b, offset, 4);
  for (std::uint32_t v : {40u, std::uint32_t{kWidth}, std::uint32_t{kHeight}}) Put(b, v, 4);
  Put(b, 1, 2);
  Put(b, static_cast<std::uint32_t>(bits), 2);
  for (std::uint32_t v : {0u, stride * kHeight, 2835u, 2835u, colours, 0u}) Put(b, v, 4);
  for (std::uint32_t i = 0; i < colours; ++i) Put(b, i * 0x010101u, 4);
  for (int y = 0; y < kHeight; ++y) {
    Bytes row(stride, 0);
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t ink = Ink(x, y);
      if (bits == 8) {
        row[x] = ink;
      } else {
        row[3 * x] = ink;
        row[3 * x + 1] = static_cast<std::uint8_t>(ink ^ (x & 0x0F));
        row[3 * x + 2] = static_cast<std::uint8_t>(ink ^ (y & 0x0F));
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

void DecodeOurs(benchmark::State& state) {
  const Bytes bytes = SamplePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto image = pellory::data::DecodeBitmap(bytes);
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// Our cost to reach 32-bit pixels from an 8-bit picture, for comparison with
// DecodeQtTo32Bits (24-bit pictures decode to 32-bit pixels already).
void DecodeOursTo32Bits(benchmark::State& state) {
  const Bytes bytes = SamplePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto pixels = pellory::data::ArgbPixels(pellory::data::DecodeBitmap(bytes));
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void DecodeQt(benchmark::State& state) {
  const Bytes bytes = SamplePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QImage image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// Both decoders keep an 8-bit picture indexed; this is Qt's cost to reach
// 32-bit pixels.
void DecodeQtTo32Bits(benchmark::State& state) {
  const Bytes bytes = SamplePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QImage image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")
                       .convertToFormat(QImage::Format_ARGB32);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(DecodeOurs)->Arg(8)->Arg(24);
BENCHMARK(DecodeOursTo32Bits)->Arg(8);
BENCHMARK(DecodeQt)->Arg(8)->Arg(24);
BENCHMARK(DecodeQtTo32Bits)->Arg(8)->Arg(24);

}  // namespace

BENCHMARK_MAIN();
