#include "pellory/ui/main/nav_glyph.h"

#include <QFile>
#include <span>

#include "pellory/data/bitmap.h"
#include "pellory/shell/system_colors.h"

static void InitGlyphResources() {
  Q_INIT_RESOURCE(navigator_glyphs);
}

namespace pellory::ui {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF808080;

// One half of the decoded bitmap, with the bottom-left pixel's colour made
// transparent; `map` turns the other colours into the ones drawn.
template <class Map>
QImage Half(const data::BitmapImage& bitmap, int part, Map map) {
  const int width = bitmap.width / 2;
  const QRgb background = bitmap.PixelAt(part * width, bitmap.height - 1) | 0xFF000000u;
  QImage image(width, bitmap.height, QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < width; ++x) {
      const QRgb c = bitmap.PixelAt(part * width + x, y) | 0xFF000000u;
      image.setPixel(x, y, c == background ? 0u : map(c));
    }
  return image;
}

}  // namespace

QString GlyphResourceName(TNavigateBtn kind) {
  switch (kind) {
    case TNavigateBtn::nbFirst:
      return QStringLiteral("DBN_FIRST");
    case TNavigateBtn::nbPrior:
      return QStringLiteral("DBN_PRIOR");
    case TNavigateBtn::nbNext:
      return QStringLiteral("DBN_NEXT");
    case TNavigateBtn::nbLast:
      return QStringLiteral("DBN_LAST");
    default:
      return {};
  }
}

NavGlyph LoadNavGlyph(TNavigateBtn kind) {
  const QString name = GlyphResourceName(kind);
  if (name.isEmpty()) return {};
  InitGlyphResources();
  QFile file(QStringLiteral(":/glyphs/") + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  const data::BitmapImage bitmap = data::DecodeBitmap(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size())));
  if (bitmap.IsEmpty()) return {};
  const QRgb highlight = shell::ColorOf(shell::SystemColor::BtnHighlight).rgba();
  const QRgb shadow = shell::ColorOf(shell::SystemColor::BtnShadow).rgba();
  return {Half(bitmap, 0, [](QRgb c) { return c; }), Half(bitmap, 1, [&](QRgb c) {
            return c == kWhite ? highlight : c == kGrey ? shadow : c;
          })};
}

}  // namespace pellory::ui
