// Resource bitmaps decoded by the program's decoder: the program's icon, the
// transparent colour, glyph parts and what is not a bitmap.
#include "pellory/ui/controls/resource_bitmap.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryFile>
#include <span>

#include "pellory/data/bitmap.h"

namespace {

using namespace pellory::ui;

pellory::data::BitmapImage DecodeRaw(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return pellory::data::DecodeBitmap(std::span(
      reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
}

TEST(ResourceBitmap, TheProgramIconIsA16ColourBitmapWithItsBackgroundTransparent) {
  const QImage icon = ProgramIcon();
  ASSERT_EQ(icon.size(), QSize(32, 32));
  const pellory::data::BitmapImage raw = DecodeRaw(QStringLiteral(":/icons/PROGRAM_ICON"));
  EXPECT_EQ(raw.bitsPerPixel, 4);
  EXPECT_EQ(raw.palette.size(), 16U);
  const QRgb background = raw.PixelAt(0, 31);
  EXPECT_EQ(background, 0xFF808000u) << "olive";
  int transparent = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb drawn = icon.pixel(x, y);
      if (raw.PixelAt(x, y) == background) {
        EXPECT_EQ(drawn, 0u) << x << "," << y;
        ++transparent;
      } else {
        EXPECT_EQ(drawn, raw.PixelAt(x, y)) << x << "," << y;
      }
    }
  EXPECT_GT(transparent, 0);
  EXPECT_LT(transparent, 32 * 32 / 2) << "the picture covers most of the icon";
}

TEST(ResourceBitmap, IconsAreFoundByNameOnly) {
  EXPECT_EQ(ResourceIcon(QStringLiteral("PROGRAM_ICON")), ProgramIcon());
  for (const char* name : {"", "NO_SUCH_ICON", "../icons/PROGRAM_ICON", "/PROGRAM_ICON"})
    EXPECT_TRUE(ResourceIcon(QLatin1String(name)).isNull()) << name;
}

TEST(ResourceBitmap, WhatIsNotABitmapGivesNoImage) {
  const QByteArray valid = [] {
    QFile file(QStringLiteral(":/icons/PROGRAM_ICON"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  ASSERT_FALSE(valid.isEmpty());
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {{"empty", {}},
               {"text", QByteArrayLiteral("not a picture at all")},
               {"cut short", valid.left(valid.size() / 2)},
               {"cut in the header", valid.left(20)}};
  for (const auto& c : cases) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(c.bytes);
    file.close();
    EXPECT_TRUE(LoadResourceBitmap(file.fileName()).isNull()) << c.name;
  }
  EXPECT_TRUE(LoadResourceBitmap(QStringLiteral(":/icons/NO_SUCH_FILE")).isNull());
}

TEST(ResourceBitmap, GlyphPartsAreEqualSlicesSideBySide) {
  QImage glyph(6, 2, QImage::Format_ARGB32);
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 2; ++y) glyph.setPixel(x, y, qRgb(x, y, 0));
  const struct {
    int index, count;
    int firstColumn;  // -1: no image
  } cases[] = {{0, 2, 0}, {1, 2, 3}, {0, 3, 0}, {2, 3, 4}, {2, 2, -1}, {-1, 2, -1}, {0, 0, -1}};
  for (const auto& c : cases) {
    const QImage part = GlyphPart(glyph, c.index, c.count);
    if (c.firstColumn < 0) {
      EXPECT_TRUE(part.isNull()) << c.index << " of " << c.count;
      continue;
    }
    ASSERT_EQ(part.size(), QSize(6 / c.count, 2)) << c.index << " of " << c.count;
    EXPECT_EQ(qRed(part.pixel(0, 1)), c.firstColumn) << c.index << " of " << c.count;
    EXPECT_EQ(qGreen(part.pixel(0, 1)), 1);
  }
  EXPECT_TRUE(GlyphPart(QImage(), 0, 1).isNull());
}

}  // namespace
