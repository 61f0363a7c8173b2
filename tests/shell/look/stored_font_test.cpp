// The mapping of stored font names to installed fonts.
#include "pellory/shell/stored_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>

namespace {

using pellory::shell::StoredFont;

TEST(StoredFont, NamesMapToInstalledFaces) {
  const struct {
    const char* stored;
    const char* installed;
  } faces[] = {
      {"System", "DejaVu Sans"},
      {"MS Sans Serif", "DejaVu Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Arial", "Liberation Sans"},
      {"arial", "Liberation Sans"},
      {"Unheard Of", "DejaVu Sans"},
  };
  for (const auto& f : faces) {
    StoredFont font;
    font.name = QLatin1String(f.stored);
    const QFont q = font.ToQFont();
    EXPECT_EQ(q.family(), QLatin1String(f.installed)) << f.stored;
    // The face really is installed, not substituted by fontconfig.
    if (QFontInfo(q).family() != QLatin1String(f.installed))
      GTEST_SKIP() << f.installed << " is not installed; run scripts/setup.sh";
  }
}

TEST(StoredFont, NegativeHeightIsTheEmSizeInPixels) {
  for (const int height : {-11, -12, -13, -20}) {
    StoredFont font;
    font.name = QStringLiteral("Times New Roman");
    font.height = height;
    EXPECT_EQ(font.ToQFont().pixelSize(), -height);
  }
}

TEST(StoredFont, PositiveHeightIsTheCellHeight) {
  for (const char* name : {"System", "Times New Roman", "Arial"}) {
    StoredFont font;
    font.name = QLatin1String(name);
    font.height = 16;
    const QFontMetricsF m(font.ToQFont());
    EXPECT_NEAR(m.ascent() + m.descent(), 16.0, 1.0) << name;
    EXPECT_LT(font.ToQFont().pixelSize(), 16) << name;
  }
}

TEST(StoredFont, StyleBits) {
  StoredFont font;
  font.style = StoredFont::Bold | StoredFont::Italic;
  EXPECT_TRUE(font.ToQFont().bold());
  EXPECT_TRUE(font.ToQFont().italic());
  EXPECT_FALSE(font.ToQFont().underline());
  font.style = StoredFont::Underline | StoredFont::StrikeOut;
  EXPECT_FALSE(font.ToQFont().bold());
  EXPECT_TRUE(font.ToQFont().underline());
  EXPECT_TRUE(font.ToQFont().strikeOut());
}

TEST(StoredFont, TextHeightOfTheStoredWindowFonts) {
  // The layouts were made with these heights: 16 for the window font, 15
  // for "Times New Roman" -13.
  const struct {
    const char* name;
    int height, textHeight;
  } cases[] = {{"System", -13, 16}, {"Times New Roman", -13, 15}};
  for (const auto& c : cases) {
    StoredFont font;
    font.name = QLatin1String(c.name);
    font.height = c.height;
    EXPECT_EQ(pellory::shell::TextHeight(font.ToQFont()), c.textHeight) << c.name;
  }
}

}  // namespace
