// A label sizes itself to its caption; with WordWrap it keeps its width and
// takes the height of the wrapped lines, all of which it paints.
#include "pellory/ui/controls/caption_label.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "gui_helpers.h"
#include "pellory/shell/stored_font.h"

namespace {

using pellory::ui::CaptionLabel;

const QString kCaption = QStringLiteral("one two three four five six");

TEST(CaptionLabel, WordWrapKeepsTheWidthAndTakesTheLinesHeight) {
  CaptionLabel label({});
  label.SetStoredProperty(QStringLiteral("Width"), 60);
  label.SetStoredProperty(QStringLiteral("Caption"), kCaption);
  const QFontMetrics metrics(label.font());
  EXPECT_EQ(label.width(), metrics.horizontalAdvance(kCaption)) << "without wrapping";
  EXPECT_EQ(label.height(), pellory::shell::TextHeight(label.font()));

  label.resize(60, label.height());
  label.SetStoredProperty(QStringLiteral("WordWrap"), true);
  EXPECT_EQ(label.width(), 60);
  const int lines = (label.height() + metrics.lineSpacing() / 2) / metrics.lineSpacing();
  EXPECT_GE(lines, 3) << label.height();

  // The last line is painted too: dark pixels near the bottom.
  const QImage image = guitest::grabImage(&label);
  const QRect ink = guitest::boundsOfNot(image, label.palette().color(QPalette::Window));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.bottom(), label.height() - metrics.lineSpacing());

  label.SetStoredProperty(QStringLiteral("Caption"), QStringLiteral("one"));
  EXPECT_EQ(label.width(), 60);
  EXPECT_EQ(label.height(), pellory::shell::TextHeight(label.font())) << "one line again";
}

}  // namespace
