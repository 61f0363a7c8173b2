// The icon theme's pictures drawn from the program's bitmap: the key colour
// made transparent, whole-pixel blow-ups with hard edges, and no key colour
// bleeding into the edges when smoothed.
#include "icon_sizes.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QSet>

namespace pellory::packaging {
namespace {

constexpr QRgb kKey = 0xFF808000;  // olive, in the bottom-left pixel
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

// A square bitmap: the left half the key colour, the right half red above
// blue.
QImage HalfKeyedBitmap(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      image.setPixel(x, y, x < side / 2 ? kKey : y < side / 2 ? kRed : kBlue);
  return image;
}

QSet<QRgb> Colours(const QImage& image) {
  QSet<QRgb> colours;
  const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) colours.insert(plain.pixel(x, y));
  return colours;
}

TEST(IconSizes, KeyColourBecomesTransparentWherever) {
  QImage bitmap = HalfKeyedBitmap(4);
  bitmap.setPixel(3, 0, kKey);  // the key colour inside the picture too
  const QImage icon = WithTransparentKey(bitmap).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool keyed = bitmap.pixel(x, y) == kKey;
      const QRgb expected = keyed ? 0u : bitmap.pixel(x, y);
      EXPECT_EQ(icon.pixel(x, y), expected) << x << "," << y;
    }
  EXPECT_TRUE(WithTransparentKey(QImage()).isNull());
}

TEST(IconSizes, EverySizeIsDrawnSquare) {
  const QImage icon = WithTransparentKey(HalfKeyedBitmap(32));
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QImage drawn = DrawnAtSize(icon, size);
    EXPECT_EQ(drawn.size(), QSize(size, size)) << size;
  }
}

TEST(IconSizes, WholeMultiplesKeepHardEdges) {
  const QImage icon = WithTransparentKey(HalfKeyedBitmap(4));
  for (const int size : {4, 8, 16, 32}) {
    const QImage drawn = DrawnAtSize(icon, size);
    EXPECT_EQ(Colours(drawn), Colours(icon)) << size;
    const int cell = size / 4;
    EXPECT_EQ(drawn.pixel(2 * cell, 0), kRed) << size;
    EXPECT_EQ(drawn.pixel(size - 1, 2 * cell - 1), kRed) << size;
    EXPECT_EQ(drawn.pixel(2 * cell, 2 * cell), kBlue) << size;
  }
}

// Sizes between whole multiples are smoothed; the transparent half must
// only fade the edge, never tint it with the key colour.
TEST(IconSizes, SmoothedEdgesTakeNoKeyColour) {
  const QImage icon = WithTransparentKey(HalfKeyedBitmap(4));
  for (const int size : {2, 3, 6, 10}) {
    const QImage drawn = DrawnAtSize(icon, size).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const QColor colour = QColor::fromRgba(drawn.pixel(x, y));
        if (colour.alpha() < 16) continue;
        EXPECT_LE(colour.green(), 2) << size << ": " << x << "," << y;
      }
  }
}

TEST(IconSizes, OnlySquareIconsAndPositiveSizes) {
  const QImage icon = WithTransparentKey(HalfKeyedBitmap(4));
  EXPECT_TRUE(DrawnAtSize(icon, 0).isNull());
  EXPECT_TRUE(DrawnAtSize(icon.copy(0, 0, 4, 3), 8).isNull());
  EXPECT_TRUE(DrawnAtSize(QImage(), 8).isNull());
}

}  // namespace
}  // namespace pellory::packaging
