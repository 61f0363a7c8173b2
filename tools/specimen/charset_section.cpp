#include "charset_section.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pellory::specimen {
namespace {

constexpr double kCellPoints = 16;  // the glyphs of the table
constexpr double kRowLabel = 34;    // points: the column of the rows' first code points
constexpr int kColumns = 16;
const QColor kEmptyCell(238, 238, 238);

QString Hex(char32_t code) {
  return QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString Counted(int n) {
  return QLocale(QLocale::English).toString(n);
}

// Glyph runs of plain labels (hex digits) in a face without shaping: the
// glyphs and advances of each character looked up once.
class LabelRun {
 public:
  explicit LabelRun(const QRawFont& font) : font_(font) {}
  // Adds `text` with its baseline's middle (or left end) at `at`.
  void Add(const QString& text, QPointF at, bool centred) {
    const QList<quint32> glyphs = font_.glyphIndexesForString(text);
    const QList<QPointF> advances = font_.advancesForGlyphIndexes(glyphs);
    double width = 0;
    for (const QPointF& advance : advances) width += advance.x();
    if (centred) at.rx() -= width / 2;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      glyphs_.append(glyphs[i]);
      positions_.append(at);
      at.rx() += advances[i].x();
    }
  }
  void Draw(QPainter& painter) const {
    if (glyphs_.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(font_);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter.drawGlyphRun(QPointF(0, 0), run);
  }

 private:
  QRawFont font_;
  QList<quint32> glyphs_;
  QList<QPointF> positions_;
};

}  // namespace

QPointF CellGlyphOrigin(const QRectF& ink, double advance, const QRectF& area, double baseline) {
  if (ink.isEmpty()) return {area.left() + (area.width() - advance) / 2, baseline};
  const double x = area.left() + (area.width() - ink.width()) / 2 - ink.left();
  double y = baseline;
  if (ink.height() > area.height())
    y = area.top() + (area.height() - ink.height()) / 2 - ink.top();
  else if (y + ink.bottom() > area.bottom())
    y = area.bottom() - ink.bottom();
  else if (y + ink.top() < area.top())
    y = area.top() - ink.top();
  return {x, y};
}

CharsetSection::CharsetSection(const FaceCharset& charset, const QRawFont& face,
                               const BookStyle& style, int pageLimit)
    : charset_(charset),
      face_(face),
      code_(QRawFont::fromFont(style.code)),
      style_(style),
      pageLimit_(pageLimit) {
  face_.setPixelSize(style.Pt(kCellPoints));
  rows_.push_back({Kind::Heading});
  for (std::size_t i = 0; i < charset_.blocks.size(); i += 2) rows_.push_back({Kind::Blocks, i});
  std::vector<Row> chart;
  for (std::size_t i = 0; i < charset_.blocks.size(); ++i) {
    if (!charset_.blocks[i].block) continue;
    chart.push_back({Kind::BlockHeading, i});
    for (const MappedCharacter& c : charset_.blocks[i].mapped) {
      const char32_t first = c.code & ~char32_t(kColumns - 1);
      if (chart.back().kind != Kind::Chart || chart.back().first != first)
        chart.push_back({Kind::Chart, i, first});
    }
  }
  double height = 0;
  for (const Row& row : chart)
    height += row.kind == Kind::Chart ? style.Pt(kCellPoints * 1.75)
                                      : LineHeight(style.label) + style.Pt(6);
  const int pages = static_cast<int>(std::ceil(height / style.body.height()));
  if (pages <= pageLimit_) {
    rows_.insert(rows_.end(), chart.begin(), chart.end());
  } else {
    chartPages_ = pages;
    rows_.push_back({Kind::Note});
  }
}

QString CharsetSection::Heading() const {
  const auto named = std::count_if(charset_.blocks.begin(), charset_.blocks.end(),
                                   [](const BlockCoverage& b) { return b.block != nullptr; });
  return QStringLiteral("Character set: %1 characters in %2 Unicode %3")
      .arg(Counted(charset_.characters), Counted(static_cast<int>(named)),
           named == 1 ? QStringLiteral("block") : QStringLiteral("blocks"));
}

QString CharsetSection::Note() const {
  return QStringLiteral(
             "The table of its characters would fill about %1 pages, more than the %2 a face may "
             "fill (--charset=PAGES raises it); the blocks above sum them up.")
      .arg(chartPages_)
      .arg(pageLimit_);
}

double CharsetSection::RowHeight(std::size_t row) const {
  switch (rows_[row].kind) {
    case Kind::Heading:
      return style_.Pt(8) + LineHeight(style_.section) + style_.Pt(2);
    case Kind::Blocks:
      return LineHeight(style_.note);
    case Kind::BlockHeading:
      return LineHeight(style_.label) + style_.Pt(6);
    case Kind::Chart:
      return style_.Pt(kCellPoints * 1.75);
    case Kind::Note: {
      const QRectF room(0, 0, style_.body.width(), 1e6);
      return style_.Pt(4) +
             QFontMetricsF(style_.label).boundingRect(room, Qt::TextWordWrap, Note()).height();
    }
  }
  return 0;
}

void CharsetSection::PaintRow(BookCanvas& canvas, std::size_t index, double top) const {
  QPainter& painter = canvas.Painter();
  const Row& row = rows_[index];
  const QRectF& body = style_.body;
  const double height = RowHeight(index);
  painter.setPen(Qt::black);
  switch (row.kind) {
    case Kind::Heading:
      painter.setFont(style_.section);
      canvas.DrawText(QRectF(body.left(), top + style_.Pt(8), body.width(), height),
                      Qt::AlignLeft | Qt::TextSingleLine, Heading());
      return;
    case Kind::Blocks:
      PaintBlocks(canvas, row.block, top);
      return;
    case Kind::BlockHeading: {
      const UnicodeBlock& block = *charset_.blocks[row.block].block;
      painter.setFont(style_.label);
      canvas.DrawText(
          QRectF(body.left(), top + style_.Pt(6), body.width(), LineHeight(style_.label)),
          Qt::AlignLeft | Qt::TextSingleLine,
          QStringLiteral("%1  U+%2\u2013U+%3")
              .arg(QString::fromUtf8(block.name), Hex(block.first), Hex(block.last)));
      return;
    }
    case Kind::Chart:
      PaintChart(canvas, row, top);
      return;
    case Kind::Note:
      painter.setFont(style_.label);
      painter.setPen(kLabelGrey);
      canvas.DrawText(QRectF(body.left(), top + style_.Pt(4), body.width(), height),
                      Qt::AlignLeft | Qt::TextWordWrap, Note());
      return;
  }
}

// Two blocks to a line: the name on the left of its column, the count on
// the right.
void CharsetSection::PaintBlocks(BookCanvas& canvas, std::size_t first, double top) const {
  QPainter& painter = canvas.Painter();
  painter.setFont(style_.note);
  const double gap = style_.Pt(18);
  const double width = (style_.body.width() - gap) / 2;
  const double line = LineHeight(style_.note);
  for (std::size_t i = first; i < std::min(first + 2, charset_.blocks.size()); ++i) {
    const BlockCoverage& coverage = charset_.blocks[i];
    const QRectF box(style_.body.left() + (i - first) * (width + gap), top, width, line);
    const int mapped = static_cast<int>(coverage.mapped.size());
    const QString count =
        coverage.block
            ? QStringLiteral("%1 of %2").arg(Counted(mapped), Counted(coverage.block->characters))
            : Counted(mapped);
    const QString name = coverage.block ? QString::fromUtf8(coverage.block->name)
                                        : QStringLiteral("Not characters or in no block");
    painter.setPen(Qt::black);
    canvas.DrawText(box, Qt::AlignLeft | Qt::TextSingleLine, name);
    painter.setPen(kLabelGrey);
    canvas.DrawText(box, Qt::AlignRight | Qt::TextSingleLine, count);
  }
}

// Sixteen cells: the face's glyph of each code point it maps over its
// number, the others greyed.
void CharsetSection::PaintChart(BookCanvas& canvas, const Row& row, double top) const {
  QPainter& painter = canvas.Painter();
  const QRectF& body = style_.body;
  const double cell = (body.width() - style_.Pt(kRowLabel)) / kColumns;
  const double height = style_.Pt(kCellPoints * 1.75);
  const double glyphBaseline = top + style_.Pt(kCellPoints * 1.05);
  const double codeBaseline = top + height - style_.Pt(3);
  // The glyph's room: from the cell's top to above its number's capitals.
  const double glyphBottom = codeBaseline - code_.capHeight() - style_.Pt(2);
  const std::vector<MappedCharacter>& mapped = charset_.blocks[row.block].mapped;
  auto c = std::lower_bound(mapped.begin(), mapped.end(), row.first,
                            [](const MappedCharacter& m, char32_t code) { return m.code < code; });
  LabelRun codes(code_);
  codes.Add(QStringLiteral("U+") + Hex(row.first), QPointF(body.left(), codeBaseline), false);
  QList<quint32> glyphs;
  QList<QPointF> positions;
  for (int column = 0; column < kColumns; ++column) {
    const double left = body.left() + style_.Pt(kRowLabel) + column * cell;
    if (c == mapped.end() || c->code != row.first + static_cast<char32_t>(column)) {
      painter.fillRect(QRectF(left + 1, top + 1, cell - 2, height - 2), kEmptyCell);
      continue;
    }
    const QList<QPointF> advance = face_.advancesForGlyphIndexes(QList<quint32>{c->glyph});
    const QRectF area(left + 1, top + 1, cell - 2, glyphBottom - top - 1);
    glyphs.append(c->glyph);
    positions.append(
        CellGlyphOrigin(face_.boundingRect(c->glyph), advance.value(0).x(), area, glyphBaseline));
    codes.Add(Hex(c->code), QPointF(left + cell / 2, codeBaseline), true);
    ++c;
  }
  painter.setPen(QPen(QColor(200, 200, 200), 0));
  painter.drawLine(QPointF(body.left(), top + height), QPointF(body.right(), top + height));
  painter.setPen(Qt::black);
  if (!glyphs.isEmpty()) {
    QGlyphRun run;
    run.setRawFont(face_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
  }
  painter.setPen(kLabelGrey);
  codes.Draw(painter);
}

}  // namespace pellory::specimen
