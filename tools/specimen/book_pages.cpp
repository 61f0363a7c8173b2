#include "book_pages.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <utility>

namespace pellory::specimen {
namespace {

QString Faces(int count) {
  return count == 1 ? QStringLiteral("1 face") : QStringLiteral("%1 faces").arg(count);
}

}  // namespace

PageFlow::PageFlow(const BookStyle& style, const BookFacts& facts, BookCanvas* canvas,
                   std::function<void()> turnPage, int firstPage)
    : style_(style),
      facts_(facts),
      canvas_(canvas),
      turnPage_(std::move(turnPage)),
      page_(firstPage),
      y_(style.body.top()) {}

double PageFlow::Place(double height) {
  if (pageUsed_ && y_ + height > style_.body.bottom()) NextPage();
  const double top = y_;
  y_ += height;
  pageUsed_ = true;
  return top;
}

void PageFlow::KeepTogether(double height) {
  if (pageUsed_ && y_ + height > style_.body.bottom() && height <= style_.body.height()) NextPage();
}

void PageFlow::NextPage() {
  PaintFooter();
  if (turnPage_) turnPage_();
  ++page_;
  y_ = style_.body.top();
  pageUsed_ = false;
}

void PageFlow::Finish() {
  PaintFooter();
}

void PageFlow::PaintFooter() {
  if (!canvas_) return;
  QPainter& painter = canvas_->Painter();
  const QRectF& body = style_.body;
  const QRectF line(body.left(), style_.footerTop, body.width(), LineHeight(style_.note));
  painter.setFont(style_.note);
  painter.setPen(Qt::black);
  painter.drawLine(QPointF(body.left(), line.top() - style_.Pt(3)),
                   QPointF(body.right(), line.top() - style_.Pt(3)));
  const QString number = QStringLiteral("Page %1 of %2").arg(page_).arg(facts_.totalPages);
  const QFontMetricsF metrics(style_.note);
  // The selection gives way to the page number: a long filter is cut short.
  const double room = line.width() - metrics.horizontalAdvance(number) - style_.Pt(12);
  const QString title = metrics.elidedText(QStringLiteral("Specimen book: ") + facts_.selection,
                                           Qt::ElideRight, std::max(0.0, room));
  canvas_->DrawText(line, Qt::AlignLeft | Qt::TextSingleLine, title);
  canvas_->DrawText(line, Qt::AlignRight | Qt::TextSingleLine, number);
}

int ContentsLinesPerPage(const BookStyle& style) {
  const double room = style.body.height() - LineHeight(style.heading) - style.Pt(12);
  return std::max(1, static_cast<int>(room / LineHeight(style.label)));
}

int ContentsPageCount(const BookStyle& style, std::size_t entries) {
  const auto perPage = static_cast<std::size_t>(ContentsLinesPerPage(style));
  return static_cast<int>(std::max<std::size_t>(1, (entries + perPage - 1) / perPage));
}

// The text wrapped into `width`, at most `maxLines` lines, the last one cut
// short with an ellipsis when the text goes on.
QStringList FittedLines(const QString& text, const QFont& font, double width, int maxLines) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  QStringList lines;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    if (lines.size() + 1 == maxLines) {
      const QString rest = text.mid(line.textStart()).simplified();
      lines.append(QFontMetricsF(font).elidedText(rest, Qt::ElideRight, width));
      break;
    }
    lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
  }
  layout.endLayout();
  return lines;
}

void PaintTitlePage(BookCanvas& canvas, const BookStyle& style, const BookFacts& facts) {
  QPainter& painter = canvas.Painter();
  const QRectF& body = style.body;
  struct Fact {
    QString label, value;
    int maxLines;
  };
  QList<Fact> facts_ = {
      {QStringLiteral("Catalogue"), facts.catalogue, 2},
      {QStringLiteral("Selection"), facts.selection, 3},
      {QStringLiteral("Text"),
       facts.text.isEmpty() ? QStringLiteral("none: the sample pictures") : facts.text, 6},
      {QStringLiteral("Date"), facts.date, 1},
      {QStringLiteral("Faces"), QString::number(facts.faces), 1},
  };
  if (facts.leftOut)
    facts_.append({QStringLiteral("Left out"),
                   Faces(facts.leftOut) + QStringLiteral(" that do not cover the whole text"), 2});
  if (facts.notInstalled)
    facts_.append({QStringLiteral("Not installed"),
                   Faces(facts.notInstalled) + QStringLiteral(": sample pictures only"), 2});
  if (facts.unusable)
    facts_.append({QStringLiteral("Unusable files"),
                   Faces(facts.unusable) +
                       QStringLiteral(" whose installed file is damaged or holds another face: "
                                      "sample pictures only"),
                   2});
  const double labelWidth = style.Pt(120);
  const double line = LineHeight(style.facts);
  QList<QStringList> values;
  double height = LineHeight(style.title) + style.Pt(18);
  for (const Fact& fact : facts_) {
    values.append(FittedLines(fact.value, style.facts, body.width() - labelWidth, fact.maxLines));
    height += values.back().size() * line + style.Pt(6);
  }
  // A quarter down the page, or higher where the facts need the room.
  double y = std::max(body.top(), std::min(body.top() + body.height() / 4, body.bottom() - height));
  painter.setPen(Qt::black);
  painter.setFont(style.title);
  canvas.DrawText(QRectF(body.left(), y, body.width(), LineHeight(style.title)),
                  Qt::AlignLeft | Qt::TextSingleLine, QStringLiteral("Specimen book"));
  y += LineHeight(style.title) + style.Pt(18);
  painter.setFont(style.facts);
  for (qsizetype i = 0; i < facts_.size(); ++i) {
    painter.setPen(QColor(90, 90, 90));
    canvas.DrawText(QRectF(body.left(), y, labelWidth, line), Qt::AlignLeft, facts_[i].label);
    painter.setPen(Qt::black);
    for (const QString& text : values[i]) {
      canvas.DrawText(QRectF(body.left() + labelWidth, y, body.width() - labelWidth, line),
                      Qt::AlignLeft | Qt::TextSingleLine, text);
      y += line;
    }
    y += style.Pt(6);
  }
}

PdfPlace PlaceOnPage(int page, const QPointF& point, const QTransform& toPdf) {
  const QPointF pdf = toPdf.map(point);
  return {page, pdf.x(), pdf.y()};
}

void PaintContents(PageFlow& flow, BookCanvas& canvas, const BookStyle& style,
                   const std::vector<ContentsEntry>& entries, const QTransform& toPdf,
                   std::vector<PageLink>& links) {
  QPainter& painter = canvas.Painter();
  const int perPage = ContentsLinesPerPage(style);
  const QRectF& body = style.body;
  const double line = LineHeight(style.label);
  const QFontMetricsF metrics(style.label);
  for (std::size_t first = 0; first == 0 || first < entries.size(); first += perPage) {
    if (first > 0) flow.NextPage();
    double y = body.top();
    painter.setPen(Qt::black);
    painter.setFont(style.heading);
    canvas.DrawText(QRectF(body.left(), y, body.width(), LineHeight(style.heading)), Qt::AlignLeft,
                    QStringLiteral("Contents"));
    y += LineHeight(style.heading) + style.Pt(12);
    painter.setFont(style.label);
    if (entries.empty())
      canvas.DrawText(QRectF(body.left(), y, body.width(), line), Qt::AlignLeft,
                      QStringLiteral("No face in this selection."));
    const std::size_t last = std::min(entries.size(), first + static_cast<std::size_t>(perPage));
    for (std::size_t i = first; i < last; ++i, y += line) {
      const QRectF box(body.left(), y, body.width(), line);
      const QString number = QString::number(entries[i].page);
      const double numberWidth = metrics.horizontalAdvance(number);
      const QString name = metrics.elidedText(entries[i].name, Qt::ElideRight,
                                              body.width() - numberWidth - style.Pt(24));
      canvas.DrawText(box, Qt::AlignLeft | Qt::TextSingleLine, name);
      canvas.DrawText(box, Qt::AlignRight | Qt::TextSingleLine, number);
      // A dotted leader from the name to its page.
      const double baseline = y + metrics.ascent();
      painter.setPen(QPen(QColor(150, 150, 150), style.Pt(0.6), Qt::DotLine));
      painter.drawLine(
          QPointF(body.left() + metrics.horizontalAdvance(name) + style.Pt(4), baseline),
          QPointF(body.right() - numberWidth - style.Pt(4), baseline));
      painter.setPen(Qt::black);
      const QRectF pdf = toPdf.mapRect(box);
      links.push_back({flow.Page(), pdf.left(), pdf.top(), pdf.right(), pdf.bottom(),
                       PlaceOnPage(entries[i].page, QPointF(body.left(), entries[i].top), toPdf)});
    }
  }
}

}  // namespace pellory::specimen
