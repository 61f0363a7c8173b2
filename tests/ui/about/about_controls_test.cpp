// The About box's own controls on their own: the bit-button's layout and
// glyph, the panel's bevels, the image's icon.
#include <gtest/gtest.h>

#include <QImage>

#include "gui_helpers.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/about/tbitbtn.h"
#include "pellory/ui/about/timage.h"
#include "pellory/ui/about/tpanel.h"
#include "pellory/ui/controls/resource_bitmap.h"

namespace {

using namespace pellory::ui;
using pellory::shell::ColorOf;
using pellory::shell::SystemColor;

// Applies a stored property the way the description reader does.
void SetStored(pellory::shell::DescribedComponent& c, const char* path,
               const pellory::shell::StoredValue& value) {
  const pellory::shell::PropertyEntry* entry = c.StoredProperties().Find(QLatin1String(path));
  ASSERT_NE(entry, nullptr) << path;
  entry->set(c, value);
}

TEST(BitButtonLayout, MarginAndSpacingPlaceGlyphAndCaption) {
  const QSize face(77, 27), glyph(18, 18);
  const int caption = 20;
  const struct {
    const char* name;
    int margin, spacing;
    QPoint glyphAt;
    QRect captionIn;
  } cases[] = {
      {"margin, caption centred right of the glyph", 2, -1, {2, 4}, {20, 0, 57, 27}},
      {"margin and spacing", 2, 4, {2, 4}, {24, 0, 20, 27}},
      {"both centred", -1, 4, {17, 4}, {39, 0, 20, 27}},
      {"free width shared", -1, -1, {13, 4}, {44, 0, 20, 27}},
  };
  for (const auto& c : cases) {
    const TBitBtn::Layout layout = TBitBtn::LayOut(face, glyph, caption, c.margin, c.spacing);
    EXPECT_EQ(layout.glyph, c.glyphAt) << c.name;
    EXPECT_EQ(layout.caption, c.captionIn) << c.name;
  }
}

TEST(OkGlyph, TwoImagesOnATransparentOliveGround) {
  const QImage glyph = OkGlyph();
  ASSERT_EQ(glyph.size(), QSize(36, 18));
  const QImage normal = GlyphPart(glyph, 0, 2), disabled = GlyphPart(glyph, 1, 2);
  int green = 0, greyOrWhite = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 18; ++x) {
      const QRgb n = normal.pixel(x, y), d = disabled.pixel(x, y);
      EXPECT_NE(n, 0xFF808000u) << "olive left opaque";
      EXPECT_NE(d, 0xFF808000u) << "olive left opaque";
      if (qAlpha(n) != 0) {
        EXPECT_TRUE(qRed(n) == 0 && qBlue(n) == 0 && qGreen(n) >= 128)
            << "green: " << x << "," << y;
        ++green;
      }
      if (qAlpha(d) != 0) {
        EXPECT_TRUE(d == 0xFF808080u || d == 0xFFFFFFFFu) << "grey or white: " << x << "," << y;
        ++greyOrWhite;
      }
    }
  EXPECT_GT(green, 20);
  EXPECT_GT(greyOrWhite, 20);
  EXPECT_EQ(qAlpha(normal.pixel(0, 17)), 0);
}

TEST(Panel, OuterThenInnerBevelAroundTheFace) {
  const QColor shadow = ColorOf(SystemColor::BtnShadow), light = ColorOf(SystemColor::BtnHighlight);
  const struct {
    const char* outer;
    const char* inner;
    // Colours at (0,0), (1,1), (2,2), (w-2,h-2), (w-1,h-1); invalid: the face.
    QColor at[5];
  } cases[] = {
      {"bvLowered", "bvRaised", {shadow, light, {}, shadow, light}},
      {"bvRaised", "bvNone", {light, {}, {}, {}, shadow}},
      {"bvNone", "bvLowered", {shadow, {}, {}, {}, light}},
      {"bvNone", "bvNone", {{}, {}, {}, {}, {}}},
  };
  for (const auto& c : cases) {
    TPanel panel({});
    panel.setPalette(pellory::shell::ControlPalette(SystemColor::BtnFace));
    panel.resize(40, 30);
    SetStored(panel, "BevelOuter", QString::fromLatin1(c.outer));
    SetStored(panel, "BevelInner", QString::fromLatin1(c.inner));
    const QImage image = guitest::grabImage(&panel);
    const QPoint points[] = {{0, 0}, {1, 1}, {2, 2}, {38, 28}, {39, 29}};
    for (int i = 0; i < 5; ++i) {
      const QColor want = c.at[i].isValid() ? c.at[i] : ColorOf(SystemColor::BtnFace);
      EXPECT_EQ(image.pixelColor(points[i]), want) << c.outer << "/" << c.inner << " at " << i;
    }
  }
  TPanel panel({});
  EXPECT_THROW(SetStored(panel, "BevelOuter", QStringLiteral("bvSpace")), std::exception);
}

TEST(Panel, ACaptionIsDrawnInTheMiddle) {
  TPanel panel({});
  panel.setPalette(pellory::shell::ControlPalette(SystemColor::BtnFace));
  panel.resize(120, 40);
  const QColor face = ColorOf(SystemColor::BtnFace);
  const QRect inside(2, 2, 116, 36);
  EXPECT_TRUE(guitest::boundsOfNot(guitest::grabImage(&panel), face, inside).isEmpty());
  SetStored(panel, "Caption", QStringLiteral("Panel"));
  const QRect ink = guitest::boundsOfNot(guitest::grabImage(&panel), face, inside);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.center().x(), 60, 2);
  EXPECT_NEAR(ink.center().y(), 20, 3);
}

TEST(Image, AnIconKeepsItsNaturalSizeAtTheTopLeft) {
  TImage image({});
  SetStored(image, "Stretch", true);
  SetStored(image, "Picture.Icon", QStringLiteral("PROGRAM_ICON"));
  image.resize(65, 57);
  image.setAutoFillBackground(true);
  QPalette palette;
  palette.setColor(QPalette::Window, Qt::magenta);
  image.setPalette(palette);
  const QImage drawn = guitest::grabImage(&image);
  const QRect ink = guitest::boundsOfNot(drawn, Qt::magenta);
  EXPECT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(0, 0, 32, 32).contains(ink)) << ink.width() << "x" << ink.height();
  const QImage icon = image.Icon();
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (qAlpha(icon.pixel(x, y)) == 255) {
        ASSERT_EQ(drawn.pixel(x, y), icon.pixel(x, y)) << x << "," << y;
      }
  EXPECT_THROW(SetStored(image, "Picture.Icon", QStringLiteral("NONE")), std::exception);
}

}  // namespace
