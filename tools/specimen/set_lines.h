// The user's text set in lines outside Qt's layout, for what Qt cannot set
// (features on or off, points of a variation axis): words shaped one by
// one, placed in the text's own direction with a space between, wrapped at
// the line's width, and drawn each as a span of its own characters.
#pragma once

#include <QPointF>
#include <QString>
#include <functional>
#include <vector>

#include "book_canvas.h"
#include "opentype_face.h"

namespace pellory::specimen {

struct PlacedWord {
  QString text;  // as the user gave it
  ShapedWord shaped;
  double x = 0;  // of its left end, from the line's
};
using SetLine = std::vector<PlacedWord>;

std::vector<SetLine> SetInLines(const QString& text, double width, double space,
                                const std::function<ShapedWord(const QString&)>& shape);

// `draw(word, origin)` paints a word's glyphs from its left end on the baseline.
void DrawSetLine(BookCanvas& canvas, const SetLine& line, QPointF baseline,
                 const std::function<void(const PlacedWord&, QPointF)>& draw);

}  // namespace pellory::specimen
