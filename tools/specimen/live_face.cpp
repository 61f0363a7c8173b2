#include "live_face.h"

#include <QList>
#include <QStringList>
#include <cmath>

namespace pellory::specimen {
namespace {

// For a face without tables: Qt's face has the file's names, and the
// letters Qt sets advance as the file's own do.
// `asked` is the family name Qt was given, with its foundry where it had one.
bool SameFaceWithoutTables(const QRawFont& raw, const QString& asked, const InstalledFace& face,
                           const FaceFile& file) {
  if (raw.familyName() != asked || raw.styleName() != QString::fromStdString(face.style) ||
      file.unitsPerEm <= 0)
    return false;
  const double scale = raw.pixelSize() / file.unitsPerEm;
  for (const auto& [c, advance] : file.advances) {
    const char32_t one[] = {c};
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(one, 1));
    if (glyphs.size() != 1 || glyphs[0] == 0) return false;
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    // FreeType's linear advances are 16.16 fixed point.
    const double expected = advance / 65536.0 * scale;
    if (advances.size() != 1 || std::abs(advances[0].x() - expected) > 0.001 * raw.pixelSize())
      return false;
  }
  return true;
}

}  // namespace

LiveFace MatchLiveFace(const InstalledFace& face, const FaceFile& file, QPaintDevice& device) {
  const QString family = QString::fromStdString(face.family);
  const QString style = QString::fromStdString(face.style);
  // Formats of one design (OpenType beside Type 1) share family and style;
  // the foundry, which Qt takes in brackets, often tells them apart.
  QStringList names{family};
  if (!face.foundry.empty())
    names.prepend(family + QStringLiteral(" [") + QString::fromStdString(face.foundry) +
                  QLatin1Char(']'));
  LiveFace live;
  for (const QString& name : names) {
    QFont font(name);
    font.setStyleName(style);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(kLayoutPoints);
    live.font = QFont(font, &device);
    live.raw = QRawFont::fromFont(live.font);
    const bool same = file.head.isEmpty() ? SameFaceWithoutTables(live.raw, name, face, file)
                                          : live.raw.fontTable("head") == file.head;
    if (live.raw.isValid() && same) return live;
  }
  live.refusal =
      QStringLiteral("Qt sets the name \"%1 %2\" in another installed file").arg(family, style);
  return live;
}

}  // namespace pellory::specimen
