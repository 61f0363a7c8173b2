// The font preload reads fontconfig's configuration once per process: made
// when the fonts are already in use, it keeps the configuration Qt reads.
#include "pellory/shell/font_preload.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

namespace {

TEST(FontPreload, KeepsTheConfigurationTheFontsCameFrom) {
  const QFont font(QStringLiteral("DejaVu Sans"), 12);
  const int height = QFontMetrics(font).height();
  FcConfig* const before = FcConfigGetCurrent();
  ASSERT_NE(before, nullptr);
  { const pellory::shell::FontPreload preload; }
  EXPECT_EQ(FcConfigGetCurrent(), before);
  EXPECT_EQ(QFontMetrics(QFont(QStringLiteral("DejaVu Sans"), 12)).height(), height);
}

}  // namespace
