#include "feature_section.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

namespace pellory::specimen {
namespace {}  // namespace

QString OfferedFeatures(const OpenTypeFace& face) {
  if (face.Features().empty()) return QStringLiteral("OpenType features: none.");
  QStringList items;
  for (const std::string& tag : face.Features()) {
    const QString name = face.FeatureName(tag);
    items.append(QString::fromStdString(tag) + (name.isEmpty() ? QString() : u' ' + name));
  }
  return QStringLiteral("OpenType features: ") + items.join(QStringLiteral(", ")) + u'.';
}

FeatureSection::FeatureSection(const OpenTypeFace& shaper, const QRawFont& face,
                               const QString& text, const std::vector<FeatureRequest>& features,
                               double points, const BookStyle& style)
    : face_(face), style_(style) {
  face_.setPixelSize(style.Pt(points));
  rows_.push_back({{}, OfferedFeatures(shaper), {}});
  const double width = style.body.width() - style.Pt(kLabelColumn);
  const double space = shaper.Shape(QStringLiteral(" "), {}, face_.pixelSize()).width;
  for (const FeatureRequest& feature : features) {
    const QString label = QString::fromStdString(feature.label);
    if (!shaper.Offers(feature.tag)) {
      const QString name = RegisteredFeatureName(feature.tag);
      rows_.push_back({{},
                       QStringLiteral("%1%2: not among this face's features.")
                           .arg(label, name.isEmpty() ? QString() : " (" + name + ")"),
                       {}});
      continue;
    }
    bool first = true;
    for (SetLine& line : SetInLines(text, width, space, [&](const QString& word) {
           return shaper.Shape(word, {feature}, face_.pixelSize());
         })) {
      rows_.push_back({first ? label : QString(), {}, std::move(line)});
      first = false;
    }
  }
}

double FeatureSection::NoteHeight(const QString& note) const {
  const QRectF room(0, 0, style_.body.width(), 1e6);
  return style_.Pt(4) +
         QFontMetricsF(style_.note).boundingRect(room, Qt::TextWordWrap, note).height();
}

double FeatureSection::RowHeight(std::size_t row) const {
  if (!rows_[row].note.isEmpty()) return NoteHeight(rows_[row].note);
  return face_.ascent() + face_.descent() + face_.leading();
}

void FeatureSection::PaintRow(BookCanvas& canvas, std::size_t index, double top) const {
  QPainter& painter = canvas.Painter();
  const Row& row = rows_[index];
  const QRectF& body = style_.body;
  if (!row.note.isEmpty()) {
    painter.setFont(style_.note);
    painter.setPen(kLabelGrey);
    canvas.DrawText(QRectF(body.left(), top + style_.Pt(4), body.width(), RowHeight(index)),
                    Qt::AlignLeft | Qt::TextWordWrap, row.note);
    return;
  }
  const double baseline = top + face_.ascent();
  if (!row.label.isEmpty()) {
    painter.setFont(style_.note);
    painter.setPen(kLabelGrey);
    canvas.DrawText(QPointF(body.left(), baseline), row.label);
  }
  painter.setPen(Qt::black);
  DrawSetLine(canvas, row.line, QPointF(body.left() + style_.Pt(kLabelColumn), baseline),
              [&](const PlacedWord& word, QPointF origin) {
                QGlyphRun run;
                run.setRawFont(face_);
                run.setGlyphIndexes(word.shaped.glyphs);
                QList<QPointF> positions;
                for (const QPointF& p : word.shaped.positions) positions.append(origin + p);
                run.setPositions(positions);
                painter.drawGlyphRun(QPointF(0, 0), run);
              });
}

}  // namespace pellory::specimen
