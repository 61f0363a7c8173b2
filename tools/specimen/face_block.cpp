#include "face_block.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace pellory::specimen {
namespace {

// Pictures keep their pixels at the screen's 96 to the inch.
constexpr double kPicturePointsPerPixel = 72.0 / 96.0;
constexpr double kGap = 4;  // points between the parts of a block
const QColor kMissingMark(255, 205, 205);

}  // namespace

QImage ToImage(const data::BitmapImage& bitmap) {
  if (bitmap.IsEmpty()) return {};
  if (bitmap.IsIndexed() && !bitmap.palette.empty()) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_Indexed8);
    QList<QRgb> colours(bitmap.palette.begin(), bitmap.palette.end());
    image.setColorTable(colours);
    for (int y = 0; y < bitmap.height; ++y)
      std::memcpy(image.scanLine(y), bitmap.indices.data() + std::size_t(y) * bitmap.width,
                  static_cast<std::size_t>(bitmap.width));
    return image;
  }
  const std::vector<std::uint32_t> pixels = data::ArgbPixels(bitmap);
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height; ++y)
    std::memcpy(image.scanLine(y), pixels.data() + std::size_t(y) * bitmap.width,
                std::size_t(bitmap.width) * 4);
  return image;
}

FaceBlock::FaceBlock(const CatalogueFace& face, const std::optional<InstalledFace>& installed,
                     const QString& fileProblem, const LiveFace* live, const SpecimenText& specimen,
                     const BookStyle& style)
    : style_(style),
      name_(QString::fromStdString(face.fontName)),
      category_(QString::fromStdString(face.category)),
      file_(QString::fromStdString(face.fileName)),
      picture_(ToImage(face.sample)),
      pictureError_(QString::fromStdString(face.sampleError)),
      installed_(installed.has_value()),
      fileProblem_(fileProblem),
      text_(specimen.text),
      hasText_(!specimen.text.isEmpty()),
      sizes_(specimen.sizes) {
  if (!installed) return;
  path_ = QString::fromStdString(installed->path);
  if (installed->index) path_ += QStringLiteral(" (face %1)").arg(installed->index);
  if (!live) return;
  refusal_ = live->refusal;
  if (!refusal_.isEmpty() || !hasText_) return;
  live_ = true;
  coverage_ = CoverageOf(live->raw, specimen.text);
  LayOutWaterfall(specimen, live->font);
}

void FaceBlock::AddSection(std::unique_ptr<BlockSection> section) {
  sections_.push_back(std::move(section));
}

FaceBlock::~FaceBlock() = default;

void FaceBlock::LayOutWaterfall(const SpecimenText& specimen, const QFont& face) {
  QTextOption option;
  const bool rightToLeft = specimen.text.isRightToLeft();
  option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  option.setAlignment(rightToLeft ? Qt::AlignRight : Qt::AlignLeft);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const double width = style_.body.width() - style_.Pt(kLabelColumn);
  for (const double points : specimen.sizes) {
    // Laid out at the face's one size in a column as much wider as the
    // size is smaller; painting scales it.
    auto layout = std::make_unique<QTextLayout>(specimen.text, face);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    for (int n = 0;; ++n) {
      QTextLine line = layout->createLine();
      if (!line.isValid()) break;
      line.setLineWidth(width * kLayoutPoints / points);
      line.setPosition(QPointF(0, 0));
      rows_.push_back({layouts_.size(), n, n == 0});
    }
    layout->endLayout();
    layouts_.push_back(std::move(layout));
  }
}

QString FaceBlock::Note() const {
  if (!installed_)
    return QStringLiteral(
               "Not installed on this machine: no installed font file is called "
               "\"%1\"; the sample picture only.")
        .arg(file_);
  if (!fileProblem_.isEmpty()) return fileProblem_ + QStringLiteral("; the sample picture only.");
  if (!refusal_.isEmpty())
    return refusal_ + (hasText_ ? QStringLiteral("; the text is left out.")
                                : QStringLiteral("; its characters are left out."));
  if (!hasText_) return {};
  if (coverage_.Whole())
    return QStringLiteral("Covers all %1 characters of the text.").arg(coverage_.counted);
  return QStringLiteral("Covers %1 of the %2 characters of the text; the %3 it lacks are marked.")
      .arg(coverage_.covered)
      .arg(coverage_.counted)
      .arg(coverage_.counted - coverage_.covered);
}

double FaceBlock::PictureHeight() const {
  if (picture_.isNull()) return LineHeight(style_.label);
  return style_.Pt(picture_.height() * kPicturePointsPerPixel);
}

// A note may take several lines: a file's problem can be long.
double FaceBlock::NoteHeight() const {
  const QRectF room(0, 0, style_.body.width(), 1e6);
  return QFontMetricsF(style_.label).boundingRect(room, Qt::TextWordWrap, Note()).height();
}

double FaceBlock::HeadHeight() const {
  double height = style_.Pt(kGap) + LineHeight(style_.name) + LineHeight(style_.note);
  height += style_.Pt(kGap) + PictureHeight();
  if (!Note().isEmpty()) height += style_.Pt(kGap) + NoteHeight();
  return height + style_.Pt(kGap);
}

void FaceBlock::PaintHead(BookCanvas& canvas, double top) const {
  QPainter& painter = canvas.Painter();
  const QRectF& body = style_.body;
  painter.setPen(QPen(kLabelGrey, 0));
  painter.drawLine(QPointF(body.left(), top), QPointF(body.right(), top));
  double y = top + style_.Pt(kGap);
  painter.setPen(Qt::black);
  painter.setFont(style_.name);
  const double nameHeight = LineHeight(style_.name);
  canvas.DrawText(QRectF(body.left(), y, body.width() * 0.7, nameHeight),
                  Qt::AlignLeft | Qt::TextSingleLine, name_);
  painter.setFont(style_.label);
  canvas.DrawText(QRectF(body.left(), y, body.width(), nameHeight),
                  Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, category_);
  y += nameHeight;
  painter.setFont(style_.note);
  painter.setPen(kLabelGrey);
  const QString file = path_.isEmpty() ? file_ : file_ + QStringLiteral("  ") + path_;
  canvas.DrawText(QRectF(body.left(), y, body.width(), LineHeight(style_.note)),
                  Qt::AlignLeft | Qt::TextSingleLine, file);
  y += LineHeight(style_.note) + style_.Pt(kGap);
  if (picture_.isNull()) {
    painter.setFont(style_.label);
    canvas.DrawText(QPointF(body.left(), y + QFontMetricsF(style_.label).ascent()),
                    pictureError_.isEmpty() ? QStringLiteral("No sample picture.")
                                            : QStringLiteral("Sample picture: ") + pictureError_);
  } else {
    const QSizeF size(style_.Pt(picture_.width() * kPicturePointsPerPixel), PictureHeight());
    painter.drawImage(QRectF(QPointF(body.left(), y), size), picture_);
  }
  y += PictureHeight();
  const QString note = Note();
  if (note.isEmpty()) return;
  y += style_.Pt(kGap);
  painter.setFont(style_.label);
  painter.setPen(installed_ && live_ && coverage_.Whole() ? kLabelGrey : QColor(150, 0, 0));
  canvas.DrawText(QRectF(body.left(), y, body.width(), NoteHeight()),
                  Qt::AlignLeft | Qt::TextWordWrap, note);
}

double FaceBlock::Scale(std::size_t layout) const {
  return sizes_[layout] / kLayoutPoints;
}

double FaceBlock::RowHeight(std::size_t row) const {
  const Row& r = rows_[row];
  return layouts_[r.layout]->lineAt(r.line).height() * Scale(r.layout);
}

void FaceBlock::PaintRow(BookCanvas& canvas, std::size_t row, double top) const {
  QPainter& painter = canvas.Painter();
  const Row& r = rows_[row];
  const QTextLayout& layout = *layouts_[r.layout];
  const QTextLine line = layout.lineAt(r.line);
  const QRectF& body = style_.body;
  const double scale = Scale(r.layout);
  if (r.firstOfSize) {
    painter.setFont(style_.note);
    painter.setPen(kLabelGrey);
    canvas.DrawText(QPointF(body.left(), top + line.ascent() * scale),
                    QStringLiteral("%1 pt").arg(sizes_[r.layout]));
  }
  painter.save();
  painter.translate(body.left() + style_.Pt(kLabelColumn), top);
  painter.scale(scale, scale);
  painter.setPen(Qt::black);
  // The characters the face lacks get a mark behind them, where the
  // bidirectional layout put them; the face draws its own missing-glyph
  // shape there, never another face's letter.
  for (const auto& [start, end] : coverage_.missing) {
    if (end <= line.textStart() || start >= line.textStart() + line.textLength()) continue;
    const double x1 = line.cursorToX(std::max(start, line.textStart()));
    const double x2 = line.cursorToX(std::min(end, line.textStart() + line.textLength()));
    painter.fillRect(QRectF(std::min(x1, x2), line.y(), std::abs(x2 - x1), line.height()),
                     kMissingMark);
  }
  canvas.DrawLine(line, text_, QPointF(0, 0));
  painter.restore();
}

}  // namespace pellory::specimen
