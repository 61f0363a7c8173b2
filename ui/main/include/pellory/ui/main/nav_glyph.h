// The navigator's button glyphs: 4-bit bitmaps among the program's
// resources, each holding the normal image and the disabled image side by
// side, decoded by the program's own bitmap decoder.
#pragma once

#include <QImage>
#include <QString>

#include "pellory/ui/main/tnavbutton.h"

namespace pellory::ui {

struct NavGlyph {
  QImage normal;    // image 0, its background transparent
  QImage disabled;  // image 1 in the system colours, background transparent
  bool IsNull() const { return normal.isNull(); }
};

// "DBN_FIRST" ... "DBN_LAST"; empty for the other kinds.
QString GlyphResourceName(TNavigateBtn kind);
// The glyph of a kind; null when the kind has none.
NavGlyph LoadNavGlyph(TNavigateBtn kind);

}  // namespace pellory::ui
