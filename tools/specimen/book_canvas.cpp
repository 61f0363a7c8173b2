#include "book_canvas.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "span_marks.h"

namespace pellory::specimen {

void BookCanvas::DrawText(const QRectF& box, int flags, const QString& text) {
  QTextLayout layout(text, painter_.font(), painter_.device());
  QTextOption option(Qt::Alignment(flags & Qt::AlignHorizontal_Mask));
  option.setTextDirection(Qt::LeftToRight);
  option.setWrapMode((flags & Qt::TextWordWrap) ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                                : QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  double height = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(box.width());
    line.setPosition(QPointF(0, height));
    height += line.height();
  }
  layout.endLayout();
  double top = box.top();
  if (flags & Qt::AlignVCenter) top += (box.height() - height) / 2;
  if (flags & Qt::AlignBottom) top += box.height() - height;
  for (int i = 0; i < layout.lineCount(); ++i)
    DrawLine(layout.lineAt(i), text, QPointF(box.left(), top));
}

void BookCanvas::DrawText(const QPointF& baseline, const QString& text) {
  QTextLayout layout(text, painter_.font(), painter_.device());
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setPosition(QPointF(0, 0));
  layout.endLayout();
  if (line.isValid()) DrawLine(line, text, baseline - QPointF(0, line.ascent()));
}

namespace {

// A word set left to right, or a stretch of words set right to left with
// the spaces between them.
struct Piece {
  int start = 0, end = 0;
  bool rightToLeft = false;
};

std::vector<Piece> Pieces(const QTextLine& line, const QString& text) {
  std::vector<Piece> pieces;
  const int end = line.textStart() + line.textLength();
  for (int start = line.textStart(); start < end;) {
    while (start < end && text.at(start).isSpace()) ++start;
    int stop = start;
    while (stop < end && !text.at(stop).isSpace()) ++stop;
    if (stop == start) break;
    const QList<QGlyphRun> runs = line.glyphRuns(start, stop - start);
    const bool rightToLeft =
        !runs.isEmpty() && std::all_of(runs.begin(), runs.end(),
                                       [](const QGlyphRun& run) { return run.isRightToLeft(); });
    if (rightToLeft && !pieces.empty() && pieces.back().rightToLeft)
      pieces.back().end = stop;
    else
      pieces.push_back({start, stop, rightToLeft});
    start = stop;
  }
  return pieces;
}

}  // namespace

void BookCanvas::DrawLine(const QTextLine& line, const QString& text, const QPointF& origin) {
  for (const Piece& piece : Pieces(line, text)) {
    QString shown = text.mid(piece.start, piece.end - piece.start);
    // Readers (poppler, pdf.js) take a span's characters for glyphs set
    // from left to right, and put right-to-left words back into reading
    // order themselves: so a right-to-left stretch's span lists its
    // characters as they stand on the page, right to left, and reads back
    // in its own order.
    if (piece.rightToLeft) std::reverse(shown.begin(), shown.end());
    Spanned(shown, [&] {
      for (const QGlyphRun& run : line.glyphRuns(piece.start, piece.end - piece.start))
        painter_.drawGlyphRun(origin, run);
    });
  }
}

void BookCanvas::Spanned(const QString& text, const std::function<void()>& draw) {
  if (text.isEmpty()) {
    draw();
    return;
  }
  Mark(SpanMarkImage(SpanMark::Start));
  draw();
  Mark(SpanMarkImage(SpanMark::End));
  spans_.Add(text);
}

SpanList BookCanvas::TakeSpans() {
  return std::exchange(spans_, {});
}

// Painted as it is (never as a JPEG) on one device unit; the joiner takes
// it out again.
void BookCanvas::Mark(const QImage& image) {
  const bool lossless = painter_.testRenderHint(QPainter::LosslessImageRendering);
  painter_.setRenderHint(QPainter::LosslessImageRendering, true);
  painter_.drawImage(QRectF(0, 0, 1, 1), image);
  painter_.setRenderHint(QPainter::LosslessImageRendering, lossless);
}

}  // namespace pellory::specimen
