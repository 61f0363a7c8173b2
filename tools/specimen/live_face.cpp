#include "live_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

namespace pellory::specimen {
namespace {

// The file's own 'head' table, read with FreeType; empty for a face without
// one (Type 1, bitmap formats).
QByteArray HeadTableOf(const InstalledFace& face) {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  FT_Face ft = nullptr;
  if (!library || FT_New_Face(library, face.path.c_str(), face.index, &ft) != 0) return {};
  QByteArray table;
  FT_ULong length = 0;
  if (FT_Load_Sfnt_Table(ft, TTAG_head, 0, nullptr, &length) == 0 && length > 0) {
    table.resize(static_cast<qsizetype>(length));
    if (FT_Load_Sfnt_Table(ft, TTAG_head, 0, reinterpret_cast<FT_Byte*>(table.data()), &length))
      table.clear();
  }
  FT_Done_Face(ft);
  return table;
}

}  // namespace

LiveFace MatchLiveFace(const InstalledFace& face, QPaintDevice& device) {
  const QByteArray head = HeadTableOf(face);
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
    const bool same = head.isEmpty()
                          ? live.raw.familyName() == family && live.raw.styleName() == style
                          : live.raw.fontTable("head") == head;
    if (live.raw.isValid() && same) return live;
  }
  live.refusal =
      QStringLiteral("Qt sets the name \"%1 %2\" in another installed file").arg(family, style);
  return live;
}

}  // namespace pellory::specimen
