// The navigator's glyphs, decoded from the program's resources.
#include "pellory/ui/main/nav_glyph.h"

#include <gtest/gtest.h>

#include <set>

#include "gui_helpers.h"
#include "pellory/shell/system_colors.h"

namespace {

using namespace pellory::ui;
using pellory::shell::ColorOf;
using pellory::shell::SystemColor;

std::set<QRgb> Colours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

TEST(NavGlyph, EachShownKindHasItsResourceAndSize) {
  const struct {
    TNavigateBtn kind;
    const char* resource;
    int width;
  } cases[] = {{TNavigateBtn::nbFirst, "DBN_FIRST", 14},
               {TNavigateBtn::nbPrior, "DBN_PRIOR", 10},
               {TNavigateBtn::nbNext, "DBN_NEXT", 10},
               {TNavigateBtn::nbLast, "DBN_LAST", 14}};
  for (const auto& c : cases) {
    EXPECT_EQ(GlyphResourceName(c.kind), QLatin1String(c.resource));
    const NavGlyph glyph = LoadNavGlyph(c.kind);
    ASSERT_FALSE(glyph.IsNull()) << c.resource;
    EXPECT_EQ(glyph.normal.size(), QSize(c.width, 13)) << c.resource;
    EXPECT_EQ(glyph.disabled.size(), QSize(c.width, 13)) << c.resource;
    // The bottom-left colour is the transparent background.
    EXPECT_EQ(qAlpha(glyph.normal.pixel(0, 12)), 0) << c.resource;
    EXPECT_EQ(Colours(glyph.normal), (std::set<QRgb>{0u, 0xFF000000u, 0xFF808080u})) << c.resource;
    const std::set<QRgb> disabled = {0u, ColorOf(SystemColor::BtnHighlight).rgba(),
                                     ColorOf(SystemColor::BtnShadow).rgba()};
    EXPECT_EQ(Colours(glyph.disabled), disabled) << c.resource;
  }
  EXPECT_TRUE(GlyphResourceName(TNavigateBtn::nbInsert).isEmpty());
  EXPECT_TRUE(LoadNavGlyph(TNavigateBtn::nbRefresh).IsNull());
}

TEST(NavGlyph, ForwardGlyphsMirrorTheBackwardOnes) {
  EXPECT_EQ(LoadNavGlyph(TNavigateBtn::nbNext).normal,
            LoadNavGlyph(TNavigateBtn::nbPrior).normal.mirrored(true, false));
  EXPECT_EQ(LoadNavGlyph(TNavigateBtn::nbLast).normal,
            LoadNavGlyph(TNavigateBtn::nbFirst).normal.mirrored(true, false));
}

}  // namespace
