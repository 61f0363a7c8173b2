// A label sizes itself to its caption; with WordWrap it keeps its width and
// takes the height of the wrapped lines, all of which it paints.
#include "pellory/ui/controls/caption_label.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "gui_helpers.h"
#include "pellory/shell/stored_font.h"

namespace {

using pellory::ui::CaptionLabel;

// Applies a stored property the way the description reader does.
void SetStored(pellory::shell::DescribedComponent& c, const char* path,
               const pellory::shell::StoredValue& value) {
  const pellory::shell::PropertyEntry* entry = c.StoredProperties().Find(QLatin1String(path));
  ASSERT_NE(entry, nullptr) << path;
  entry->set(c, value);
}

const QString kCaption = QStringLiteral("one two three four five six");

TEST(CaptionLabel, WordWrapKeepsTheWidthAndTakesTheLinesHeight) {
  CaptionLabel label({});
  SetStored(label, "Width", 60);
  SetStored(label, "Caption", kCaption);
  const QFontMetrics metrics(label.font());
  EXPECT_EQ(label.width(), metrics.horizontalAdvance(kCaption)) << "without wrapping";
  EXPECT_EQ(label.height(), pellory::shell::TextHeight(label.font()));

  label.resize(60, label.height());
  SetStored(label, "WordWrap", true);
  EXPECT_EQ(label.width(), 60);
  const int lines = (label.height() + metrics.lineSpacing() / 2) / metrics.lineSpacing();
  EXPECT_GE(lines, 3) << label.height();

  // The last line is painted too: dark pixels near the bottom.
  const QImage image = guitest::grabImage(&label);
  const QRect ink = guitest::boundsOfNot(image, label.palette().color(QPalette::Window));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.bottom(), label.height() - metrics.lineSpacing());

  SetStored(label, "Caption", QStringLiteral("one"));
  EXPECT_EQ(label.width(), 60);
  EXPECT_EQ(label.height(), pellory::shell::TextHeight(label.font())) << "one line again";
}

}  // namespace
