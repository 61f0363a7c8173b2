// One-pixel boxes and frames, as bevels, sunken borders and focus frames
// draw them.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace pellory::ui {

// The edges of `box` (its right and bottom columns included), one pixel
// wide: top and left in `topLeft`, then bottom and right in `bottomRight`,
// which therefore holds the top-right and bottom-left corners. Painted as
// pixel rows and columns rather than lines: under a device pixel ratio of 2
// each pixel becomes a whole 2 by 2 block in place, where a line would be
// centred on the pixel's edge and lose half of itself.
void PaintEdgeBox(QPainter& p, const QRect& box, const QColor& topLeft, const QColor& bottomRight);

}  // namespace pellory::ui
