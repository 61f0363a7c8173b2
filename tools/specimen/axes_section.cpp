#include "axes_section.h"

#include <QFontMetricsF>
#include <QPainter>

#include "set_lines.h"

namespace pellory::specimen {
namespace {

QString Value(double value) {
  return QString::number(value, 'g', 6);
}

}  // namespace

AxesSection::AxesSection(const OpenTypeFace& face, const QString& text, double points,
                         const BookStyle& style)
    : style_(style) {
  const std::vector<VariationAxis> axes = face.Axes();
  if (axes.empty()) return;
  const double pixels = style.Pt(points);
  ascent_ = pixels;
  lineHeight_ = pixels * 1.3;
  QStringList described;
  for (const VariationAxis& axis : axes)
    described.append(QStringLiteral("%1 %2 %3\u2013%4 (default %5)")
                         .arg(QString::fromStdString(axis.tag), axis.name, Value(axis.minimum),
                              Value(axis.maximum), Value(axis.defaultValue)));
  rows_.push_back(
      {QStringLiteral("Variation axes: ") + described.join(QStringLiteral(", ")) + u'.', {}, true});
  const double width = style.body.width() - style.Pt(kLabelColumn);
  const std::vector<AxisSetting> own = face.OwnPoint();
  for (const VariationAxis& axis : axes)
    for (const double value : {axis.minimum, axis.maximum}) {
      std::vector<AxisSetting> point = own;
      for (AxisSetting& setting : point)
        if (setting.tag == axis.tag) setting.value = value;
      const auto shape = [&](const QString& word) { return face.Shape(word, {}, pixels, point); };
      const double space = shape(QStringLiteral(" ")).width;
      bool first = true;
      for (const SetLine& line : SetInLines(text, width, space, shape)) {
        QPainterPath outlines;
        for (const PlacedWord& word : line)
          outlines.addPath(face.Outlines(word.shaped, pixels, point).translated(word.x, 0));
        rows_.push_back({first ? QString::fromStdString(axis.tag) + u' ' + Value(value) : QString(),
                         outlines, false});
        first = false;
      }
    }
}

double AxesSection::RowHeight(std::size_t row) const {
  if (!rows_[row].note) return lineHeight_;
  const QRectF room(0, 0, style_.body.width(), 1e6);
  return style_.Pt(4) +
         QFontMetricsF(style_.note).boundingRect(room, Qt::TextWordWrap, rows_[row].label).height();
}

void AxesSection::PaintRow(BookCanvas& canvas, std::size_t index, double top) const {
  QPainter& painter = canvas.Painter();
  const Row& row = rows_[index];
  const QRectF& body = style_.body;
  painter.setFont(style_.note);
  painter.setPen(kLabelGrey);
  if (row.note) {
    canvas.DrawText(QRectF(body.left(), top + style_.Pt(4), body.width(), RowHeight(index)),
                    Qt::AlignLeft | Qt::TextWordWrap, row.label);
    return;
  }
  const double baseline = top + ascent_;
  if (!row.label.isEmpty()) canvas.DrawText(QPointF(body.left(), baseline), row.label);
  painter.save();
  painter.translate(body.left() + style_.Pt(kLabelColumn), baseline);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPath(row.outlines);
  painter.restore();
}

}  // namespace pellory::specimen
