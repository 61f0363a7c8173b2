#include "pellory/shell/stored_font.h"

#include <QFontMetricsF>
#include <cmath>

namespace pellory::shell {

namespace {

struct FaceMapping {
  const char* stored;
  const char* installed;
};

// Liberation Serif and Liberation Sans share the advance widths of Times New
// Roman and Arial, so captions keep their stored widths; DejaVu Sans stands
// in for the sans-serif user-interface faces.
constexpr FaceMapping kFaces[] = {
    {"System", "DejaVu Sans"},
    {"MS Sans Serif", "DejaVu Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},
};

}  // namespace

QString InstalledFamilyFor(const QString& storedName) {
  for (const auto& face : kFaces)
    if (storedName.compare(QLatin1String(face.stored), Qt::CaseInsensitive) == 0)
      return QLatin1String(face.installed);
  return QLatin1String(kFaces[0].installed);
}

int TextHeight(const QFont& font) {
  // Rounding ascent and descent separately, as QFontMetrics does, loses a
  // pixel against the stored layouts for DejaVu Sans.
  const QFontMetricsF metrics(font);
  return int(std::ceil(metrics.ascent() + metrics.descent() - 0.01));
}

QFont StoredFont::ToQFont() const {
  QFont font(InstalledFamilyFor(name));
  // Without this, fontconfig may pick a different face on a machine that
  // lacks the mapped one and the layout would change silently.
  font.setStyleStrategy(QFont::NoFontMerging);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setBold(style & Bold);
  font.setItalic(style & Italic);
  font.setUnderline(style & Underline);
  font.setStrikeOut(style & StrikeOut);
  if (height < 0) {
    font.setPixelSize(-height);
  } else if (height > 0) {
    // A cell height: scale the em size by the face's ascent plus descent.
    QFont probe = font;
    probe.setPixelSize(100);
    const qreal cell = QFontMetricsF(probe).ascent() + QFontMetricsF(probe).descent();
    font.setPixelSize(std::max(1, int(std::lround(height * 100.0 / cell))));
  } else {
    font.setPixelSize(13);
  }
  return font;
}

}  // namespace pellory::shell
