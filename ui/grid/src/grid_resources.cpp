#include "grid_resources.h"

#include <QFile>
#include <array>
#include <span>

#include "pellory/data/bitmap.h"
#include "pellory/data/bitmap_image.h"

static void InitGlyphResources() {
  Q_INIT_RESOURCE(indicator_glyphs);
}

namespace pellory::ui::grid {

namespace {

struct Shared {
  int liveGrids = 0;
  std::array<QImage, 3> glyphs;
  QImage compositing;
};

Shared& State() {
  static Shared shared;
  return shared;
}

QImage LoadGlyph(IndicatorGlyph glyph) {
  InitGlyphResources();
  QFile file(QStringLiteral(":/glyphs/") + GlyphResourceName(glyph));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  try {
    return data::ImageFromBitmap(data::DecodeBitmap(std::span(
                                     reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     std::size_t(bytes.size()))))
        .convertToFormat(QImage::Format_RGB32);
  } catch (const data::BitmapError&) {
    return {};
  }
}

}  // namespace

QString GlyphResourceName(IndicatorGlyph glyph) {
  switch (glyph) {
    case IndicatorGlyph::Arrow:
      return QStringLiteral("WWDBGARROW");
    case IndicatorGlyph::Edit:
      return QStringLiteral("WWDBEDIT");
    case IndicatorGlyph::Insert:
      return QStringLiteral("WWDBINSERT");
  }
  return {};
}

void GridResources::Acquire() {
  Shared& shared = State();
  if (shared.liveGrids++ > 0) return;
  for (IndicatorGlyph glyph : {IndicatorGlyph::Arrow, IndicatorGlyph::Edit, IndicatorGlyph::Insert})
    shared.glyphs[std::size_t(glyph)] = LoadGlyph(glyph);
}

void GridResources::Release() {
  Shared& shared = State();
  if (shared.liveGrids == 0 || --shared.liveGrids > 0) return;
  shared.glyphs = {};
  shared.compositing = QImage();
}

int GridResources::LiveGrids() {
  return State().liveGrids;
}

const QImage& GridResources::Glyph(IndicatorGlyph glyph) {
  return State().glyphs[std::size_t(glyph)];
}

QImage& GridResources::Compositing(QSize size) {
  QImage& image = State().compositing;
  const QSize grown = image.size().expandedTo(size);
  if (grown != image.size()) image = QImage(grown, QImage::Format_RGB32);
  return image;
}

QSize GridResources::CompositingSize() {
  return State().compositing.size();
}

}  // namespace pellory::ui::grid
