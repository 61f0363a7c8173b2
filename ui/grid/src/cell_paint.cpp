#include "cell_paint.h"

#include <QFontMetrics>
#include <QPainter>

#include "grid_resources.h"
#include "pellory/data/datalink.h"

namespace pellory::ui::grid {

namespace {

// The system's border height, which enters the one-line test of the text
// area.
constexpr int kBorderHeight = 1;

Qt::Alignment HorizontalAlignment(data::TAlignment alignment) {
  switch (alignment) {
    case data::taRightJustify:
      return Qt::AlignRight;
    case data::taCenter:
      return Qt::AlignHCenter;
    case data::taLeftJustify:
      break;
  }
  return Qt::AlignLeft;
}

// The text area of a cell W wide: from `left` 3 (0 when centred) to W (W -
// 2 when right-aligned), from `top` to H - 1.
QRect TextArea(QSize cell, data::TAlignment alignment, int top) {
  const int left = alignment == data::taCenter ? 0 : 3;
  const int right = alignment == data::taRightJustify ? cell.width() - 2 : cell.width();
  return {left, top, right - left, cell.height() - 1 - top};
}

// Inverts every other pixel of the outline of (0, 0, size), starting at
// the top-left corner, inside `part` only.
void InvertOutlineDots(QImage& image, QSize size, const QRect& part) {
  const auto invert = [&image, &part](int x, int y) {
    if ((x + y) % 2 == 0 && part.contains(x, y))
      reinterpret_cast<QRgb*>(image.scanLine(y))[x] ^= 0x00FFFFFF;
  };
  const int right = size.width() - 1, bottom = size.height() - 1;
  for (int x = 0; x <= right; ++x) {
    invert(x, 0);
    if (bottom > 0) invert(x, bottom);
  }
  for (int y = 1; y < bottom; ++y) {
    invert(0, y);
    if (right > 0) invert(right, y);
  }
}

// Composes `draw` into the shared image on the cell's background and
// copies the result onto the cell in one operation; only the part being
// painted is composed (a picture column is far wider than the grid).
template <class Draw>
void Compose(CellPaint& cell, const QColor& background, FocusRect focus, Draw draw) {
  cell.background = background;
  QImage& image = cell.composer.Image();
  const QRect part = cell.visible.translated(-cell.rect.topLeft()).intersected(image.rect());
  if (part.isEmpty()) return;
  QPainter& composer = cell.composer.Painter();
  composer.save();
  composer.setClipRect(part);
  composer.fillRect(part, background);
  draw(composer);
  composer.restore();
  if (focus == FocusRect::Yes) {
    InvertOutlineDots(image, cell.rect.size(), part);
    cell.focusRectDrawn = true;
  }
  cell.p.drawImage(cell.visible.topLeft(), image, part);
}

}  // namespace

CellComposer::CellComposer(QSize largest)
    : image_(GridResources::Compositing(largest)), painter_(&image_) {}

RowReading::RowReading(data::TDataLink& link, int row) : link_(link), saved_(link.ActiveRecord()) {
  link_.SetActiveRecord(row);
}

RowReading::~RowReading() {
  link_.SetActiveRecord(saved_);
}

void ComposeText(CellPaint& cell, const CellText& text, const QColor& background, FocusRect focus) {
  Compose(cell, background, focus, [&](QPainter& p) {
    const QRect area = TextArea(cell.rect.size(), text.alignment, 2);
    const int oneLine = text.textHeight + 2 * kBorderHeight + 3;
    const int flags = Qt::AlignTop | Qt::TextExpandTabs | HorizontalAlignment(text.alignment) |
                      (oneLine >= area.height() ? Qt::TextSingleLine : Qt::TextWordWrap);
    QString shown = text.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    p.setClipRect(area, Qt::IntersectClip);
    p.setFont(text.font);
    p.setPen(text.color);
    p.drawText(area, flags, shown);
  });
}

void ComposeTitle(CellPaint& cell, const CellText& text, const QColor& background, int top) {
  Compose(cell, background, FocusRect::No, [&](QPainter& p) {
    const QRect area = TextArea(cell.rect.size(), text.alignment, top);
    p.setFont(text.font);
    p.setPen(text.color);
    p.drawText(area, Qt::AlignTop | Qt::TextExpandTabs | HorizontalAlignment(text.alignment),
               text.text);
  });
}

QString TitleLines(const QString& title, const QFont& font, data::TAlignment alignment, int width) {
  const QFontMetrics metrics(font);
  const int room = TextArea(QSize(width, 1), alignment, 0).width();
  QStringList lines = title.split(QLatin1Char('~'));
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, room);
  return lines.join(QLatin1Char('\n'));
}

void ComposeBackground(CellPaint& cell, const QColor& background, FocusRect focus) {
  Compose(cell, background, focus, [](QPainter&) {});
}

void FrameCell(CellPaint& cell, const QColor& color) {
  const QRect& r = cell.rect;
  cell.p.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
  cell.p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
  cell.p.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
  cell.p.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

void DrawIndicatorGlyph(CellPaint& cell, const QImage& glyph, bool yellow) {
  if (glyph.isNull()) return;
  const int right = cell.rect.left() + cell.rect.width();
  const int bottom = cell.rect.top() + cell.rect.height();
  const QPoint at((right - glyph.width()) / 2 + 1, (cell.rect.top() + bottom - glyph.height()) / 2);
  if (!yellow) {
    // AND: white leaves the cell's background, black stays black.
    cell.p.save();
    cell.p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    cell.p.drawImage(at, glyph);
    cell.p.restore();
    return;
  }
  QImage coloured = glyph.convertToFormat(QImage::Format_RGB32);
  const QRgb background = cell.background.rgb();
  for (int y = 0; y < coloured.height(); ++y)
    for (int x = 0; x < coloured.width(); ++x)
      coloured.setPixel(x, y, qGray(coloured.pixel(x, y)) < 128 ? qRgb(255, 255, 0) : background);
  cell.p.drawImage(at, coloured);
}

void DrawCheckBox(CellPaint& cell, bool ticked) {
  const QRect& r = cell.rect;
  const int right = r.left() + r.width();
  const int bottom = r.top() + r.height();
  const QRect box((r.left() + right - 10) / 2, (r.top() + bottom - 10) / 2, 10, 10);
  QPainter& p = cell.p;
  p.fillRect(box, Qt::white);
  p.fillRect(QRect(box.left(), box.top(), 10, 1), Qt::black);
  p.fillRect(QRect(box.left(), box.bottom(), 10, 1), Qt::black);
  p.fillRect(QRect(box.left(), box.top(), 1, 10), Qt::black);
  p.fillRect(QRect(box.right(), box.top(), 1, 10), Qt::black);
  if (!ticked) return;
  // A tick from the left middle down to the bottom third, then up right.
  p.save();
  p.setPen(QPen(Qt::black, 0));
  const QPoint a = box.topLeft() + QPoint(2, 4), b = box.topLeft() + QPoint(4, 6),
               c = box.topLeft() + QPoint(7, 2);
  for (int dy : {0, 1}) {
    p.drawLine(a + QPoint(0, dy), b + QPoint(0, dy));
    p.drawLine(b + QPoint(0, dy), c + QPoint(0, dy));
  }
  p.restore();
}

}  // namespace pellory::ui::grid
