#include "book_style.h"

#include <langinfo.h>

#include <QFontMetricsF>
#include <QPaintDevice>
#include <cstdint>
#include <optional>
#include <string>

namespace pellory::specimen {
namespace {

// Names, paths and notes are set letter by letter, without ligatures, so
// that they read back from the book as the characters they are ("fl", not
// U+FB02). Qt leaves ligatures out of a font with letter spacing, so the
// book's fonts get a spacing too small to see.
QFont BookFont(QPaintDevice& device, double points, QFont::Weight weight) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(points);
  font.setWeight(weight);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
  // A printed page needs no hinting, and measures by the design's advances.
  font.setHintingPreference(QFont::PreferNoHinting);
  return QFont(font, &device);
}

}  // namespace

double LineHeight(const QFont& font) {
  return QFontMetricsF(font).lineSpacing();
}

BookStyle MakeBookStyle(QPaintDevice& device, const QRectF& paintArea) {
  BookStyle style;
  style.unit = device.logicalDpiY() / 72.0;
  style.title = BookFont(device, 28, QFont::Bold);
  style.facts = BookFont(device, 13, QFont::Normal);
  style.heading = BookFont(device, 16, QFont::Bold);
  style.name = BookFont(device, 12, QFont::Bold);
  style.label = BookFont(device, 9, QFont::Normal);
  style.note = BookFont(device, 8, QFont::Normal);
  style.section = BookFont(device, 9, QFont::Bold);
  style.code = BookFont(device, 5.5, QFont::Normal);
  const double footer = style.Pt(20);
  style.body = QRectF(paintArea.topLeft(), QSizeF(paintArea.width(), paintArea.height() - footer));
  style.footerTop = paintArea.bottom() - style.Pt(10);
  return style;
}

std::optional<QPageSize> PaperNamed(const std::string& name) {
  const struct {
    const char* name;
    QPageSize::PageSizeId id;
  } papers[] = {{"a3", QPageSize::A3},           {"a4", QPageSize::A4},
                {"a5", QPageSize::A5},           {"b5", QPageSize::B5},
                {"letter", QPageSize::Letter},   {"legal", QPageSize::Legal},
                {"tabloid", QPageSize::Tabloid}, {"executive", QPageSize::Executive}};
  const QString wanted = QString::fromStdString(name).toLower();
  for (const auto& paper : papers)
    if (wanted == QLatin1String(paper.name)) return QPageSize(paper.id);
  return std::nullopt;
}

QPageSize LocalePaper() {
  // glibc answers these two with the number itself in place of a pointer.
  const auto width =
      static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
  const auto height =
      static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
  if (width <= 0 || height <= 0) return QPageSize(QPageSize::A4);
  return QPageSize(QSizeF(width, height), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

}  // namespace pellory::specimen
