// Where the book's pages are painted: Qt's painter, and every text drawn
// between span marks (span_marks.h), so that it reads back from the PDF as
// the characters it shows, whatever glyphs shaping made of them. A line is
// drawn a word at a time, each a span, but for right-to-left words: a
// stretch of them is one span, which readers turn round whole. The texts
// are kept in painting order for the joiner, part by part.
#pragma once

#include <QPainter>
#include <QString>
#include <QTextLine>
#include <functional>
#include <string>
#include <vector>

#include "span_marks.h"

namespace pellory::specimen {

class BookCanvas {
 public:
  explicit BookCanvas(QPainter& painter) : painter_(painter) {}

  QPainter& Painter() { return painter_; }
  // Text in a box in the painter's font and pen, as QPainter::drawText
  // (alignment, Qt::TextWordWrap; left to right).
  void DrawText(const QRectF& box, int flags, const QString& text);
  // Text from its baseline's left end.
  void DrawText(const QPointF& baseline, const QString& text);
  // A laid-out line of `text` with its layout's origin at `origin`.
  void DrawLine(const QTextLine& line, const QString& text, const QPointF& origin);
  // `draw` paints what shows `text` in another way (glyph runs of its own).
  void Spanned(const QString& text, const std::function<void()>& draw);

  // The spans' texts painted since the last call.
  SpanList TakeSpans();

 private:
  void Mark(const QImage& image);

  QPainter& painter_;
  SpanList spans_;
};

}  // namespace pellory::specimen
