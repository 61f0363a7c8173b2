#include "live_face.h"

#include <QList>
#include <QStringList>
#include <cmath>

namespace pellory::specimen {
namespace {

// The letters Qt sets advance as the file's own do (FreeType's, at the
// file's named instance where it is one): which tells the instances of a
// variable font apart, whose tables are all the same.
bool SameAdvances(const QRawFont& raw, const FaceFile& file) {
  if (file.unitsPerEm <= 0) return false;
  const double scale = raw.pixelSize() / file.unitsPerEm;
  for (const auto& [c, advance] : file.advances) {
    const char32_t one[] = {c};
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(one, 1));
    if (glyphs.size() != 1 || glyphs[0] == 0) return false;
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    const double expected = advance * scale;
    if (advances.size() != 1 || std::abs(advances[0].x() - expected) > 0.001 * raw.pixelSize())
      return false;
  }
  return true;
}

// Qt's face is the installed file's: its 'head' table is the file's (a
// face without tables has the names Qt was asked for, `asked` with its
// foundry where it had one), and its letters advance as the file's do.
bool SameFace(const QRawFont& raw, const QString& asked, const InstalledFace& face,
              const FaceFile& file) {
  if (!raw.isValid()) return false;
  const bool tables =
      file.head.isEmpty()
          ? raw.familyName() == asked && raw.styleName() == QString::fromStdString(face.style)
          : raw.fontTable("head") == file.head;
  return tables && SameAdvances(raw, file);
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
    // The style name picks the face; a plain weight and slope keep Qt from
    // taking a heavy or sloped face for one to embolden or slant (which its
    // PDF writer does by drawing the text twice), as it does a variable
    // font's instances, whose tables are the default instance's.
    font.setStyleName(style);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(kLayoutPoints);
    live.font = QFont(font, &device);
    live.raw = QRawFont::fromFont(live.font);
    if (SameFace(live.raw, name, face, file)) return live;
  }
  live.refusal =
      QStringLiteral("Qt sets the name \"%1 %2\" in another installed file").arg(family, style);
  return live;
}

}  // namespace pellory::specimen
