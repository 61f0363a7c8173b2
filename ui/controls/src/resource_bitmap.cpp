#include "pellory/ui/controls/resource_bitmap.h"

#include <QFile>
#include <span>

#include "pellory/data/bitmap.h"

static void InitProgramIconResource() {
  Q_INIT_RESOURCE(program_icon);
}

namespace pellory::ui {

QImage LoadResourceBitmap(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  data::BitmapImage bitmap;
  try {
    bitmap = data::DecodeBitmap(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          std::size_t(bytes.size())));
  } catch (const data::BitmapError&) {
    return {};
  }
  if (bitmap.IsEmpty()) return {};
  const QRgb transparent = bitmap.PixelAt(0, bitmap.height - 1) | 0xFF000000u;
  QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) {
      const QRgb c = bitmap.PixelAt(x, y) | 0xFF000000u;
      image.setPixel(x, y, c == transparent ? 0u : c);
    }
  return image;
}

QImage GlyphPart(const QImage& glyph, int index, int count) {
  if (glyph.isNull() || count < 1 || index < 0 || index >= count) return {};
  const int width = glyph.width() / count;
  return glyph.copy(index * width, 0, width, glyph.height());
}

QImage ResourceIcon(const QString& name) {
  InitProgramIconResource();
  if (name.isEmpty() || name.contains(QLatin1Char('/'))) return {};
  return LoadResourceBitmap(QStringLiteral(":/icons/") + name);
}

QImage ProgramIcon() {
  return ResourceIcon(QStringLiteral("PROGRAM_ICON"));
}

}  // namespace pellory::ui
