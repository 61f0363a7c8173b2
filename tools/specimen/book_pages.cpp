#include "book_pages.h"

#include <QFontMetricsF>
#include <utility>

namespace pellory::specimen {
namespace {

QString Faces(int count) {
  return count == 1 ? QStringLiteral("1 face") : QStringLiteral("%1 faces").arg(count);
}

}  // namespace

PageFlow::PageFlow(const BookStyle& style, const BookFacts& facts, QPainter* painter,
                   std::function<void()> turnPage, int firstPage)
    : style_(style),
      facts_(facts),
      painter_(painter),
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
  if (!painter_) return;
  const QRectF& body = style_.body;
  const QRectF line(body.left(), style_.footerTop, body.width(), LineHeight(style_.note));
  painter_->setFont(style_.note);
  painter_->setPen(Qt::black);
  painter_->drawLine(QPointF(body.left(), line.top() - style_.Pt(3)),
                     QPointF(body.right(), line.top() - style_.Pt(3)));
  painter_->drawText(line, Qt::AlignLeft | Qt::TextSingleLine,
                     QStringLiteral("Specimen book: ") + facts_.selection);
  painter_->drawText(line, Qt::AlignRight | Qt::TextSingleLine,
                     QStringLiteral("Page %1 of %2").arg(page_).arg(facts_.totalPages));
}

int ContentsLinesPerPage(const BookStyle& style) {
  const double room = style.body.height() - LineHeight(style.heading) - style.Pt(12);
  return std::max(1, static_cast<int>(room / LineHeight(style.label)));
}

int ContentsPageCount(const BookStyle& style, std::size_t entries) {
  const auto perPage = static_cast<std::size_t>(ContentsLinesPerPage(style));
  return static_cast<int>(std::max<std::size_t>(1, (entries + perPage - 1) / perPage));
}

void PaintTitlePage(QPainter& painter, const BookStyle& style, const BookFacts& facts) {
  const QRectF& body = style.body;
  double y = body.top() + body.height() / 4;
  painter.setPen(Qt::black);
  painter.setFont(style.title);
  painter.drawText(QRectF(body.left(), y, body.width(), LineHeight(style.title)),
                   Qt::AlignLeft | Qt::TextSingleLine, QStringLiteral("Specimen book"));
  y += LineHeight(style.title) + style.Pt(18);
  QList<QPair<QString, QString>> lines = {
      {QStringLiteral("Catalogue"), facts.catalogue},
      {QStringLiteral("Selection"), facts.selection},
      {QStringLiteral("Text"),
       facts.text.isEmpty() ? QStringLiteral("none: the sample pictures") : facts.text},
      {QStringLiteral("Date"), facts.date},
      {QStringLiteral("Faces"), QString::number(facts.faces)},
  };
  if (facts.leftOut)
    lines.append({QStringLiteral("Left out"),
                  Faces(facts.leftOut) + QStringLiteral(" that do not cover the whole text")});
  if (facts.notInstalled)
    lines.append({QStringLiteral("Not installed"),
                  Faces(facts.notInstalled) + QStringLiteral(": sample pictures only")});
  painter.setFont(style.facts);
  const double labelWidth = style.Pt(120);
  for (const auto& [label, value] : lines) {
    const QRectF valueBox(body.left() + labelWidth, y, body.width() - labelWidth,
                          body.bottom() - y);
    const QRectF used = painter.boundingRect(valueBox, Qt::AlignLeft | Qt::TextWordWrap, value);
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF(body.left(), y, labelWidth, LineHeight(style.facts)), Qt::AlignLeft,
                     label);
    painter.setPen(Qt::black);
    painter.drawText(valueBox, Qt::AlignLeft | Qt::TextWordWrap, value);
    y += used.height() + style.Pt(6);
  }
}

void PaintContents(PageFlow& flow, QPainter& painter, const BookStyle& style,
                   const std::vector<ContentsEntry>& entries) {
  const int perPage = ContentsLinesPerPage(style);
  const QRectF& body = style.body;
  const double line = LineHeight(style.label);
  for (std::size_t first = 0; first == 0 || first < entries.size(); first += perPage) {
    if (first > 0) flow.NextPage();
    double y = body.top();
    painter.setPen(Qt::black);
    painter.setFont(style.heading);
    painter.drawText(QRectF(body.left(), y, body.width(), LineHeight(style.heading)), Qt::AlignLeft,
                     QStringLiteral("Contents"));
    y += LineHeight(style.heading) + style.Pt(12);
    painter.setFont(style.label);
    if (entries.empty())
      painter.drawText(QRectF(body.left(), y, body.width(), line), Qt::AlignLeft,
                       QStringLiteral("No face in this selection."));
    const std::size_t last = std::min(entries.size(), first + static_cast<std::size_t>(perPage));
    for (std::size_t i = first; i < last; ++i, y += line) {
      const QRectF box(body.left(), y, body.width(), line);
      QRectF name, number;
      painter.drawText(box, Qt::AlignLeft | Qt::TextSingleLine, entries[i].name, &name);
      painter.drawText(box, Qt::AlignRight | Qt::TextSingleLine, QString::number(entries[i].page),
                       &number);
      // A dotted leader from the name to its page.
      const double baseline = y + QFontMetricsF(style.label).ascent();
      painter.setPen(QPen(QColor(150, 150, 150), style.Pt(0.6), Qt::DotLine));
      painter.drawLine(QPointF(name.right() + style.Pt(4), baseline),
                       QPointF(number.left() - style.Pt(4), baseline));
      painter.setPen(Qt::black);
    }
  }
}

}  // namespace pellory::specimen
