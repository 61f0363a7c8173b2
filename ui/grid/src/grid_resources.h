// What every picture grid of the process shares: the indicator glyphs and
// the off-screen image text cells are composed in. They exist while at
// least one grid lives.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace pellory::ui::grid {

enum class IndicatorGlyph { Arrow, Edit, Insert };

// "WWDBGARROW", "WWDBEDIT", "WWDBINSERT".
QString GlyphResourceName(IndicatorGlyph glyph);

class GridResources {
 public:
  // A grid counts itself in when made and out when destroyed; the first
  // in loads the glyphs, the last out frees everything.
  static void Acquire();
  static void Release();
  static int LiveGrids();

  // The glyph as decoded from the program's resources: 6 by 11, black on
  // white; null when it cannot be read.
  static const QImage& Glyph(IndicatorGlyph glyph);
  // The compositing image, grown to at least `size`; it never shrinks.
  static QImage& Compositing(QSize size);
  static QSize CompositingSize();
};

}  // namespace pellory::ui::grid
