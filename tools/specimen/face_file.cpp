#include "face_file.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <QList>
#include <memory>

#include "catalogue_faces.h"  // DescribedValue

namespace pellory::specimen {
namespace {

// FreeType's own words for its errors (its library is built without them).
const char* FreeTypeError(FT_Error error) {
#undef FTERRORS_H_
#define FT_ERROR_START_LIST switch (error) {
#define FT_ERRORDEF(e, v, s) \
  case v:                    \
    return s;
#define FT_ERROR_END_LIST }
#include FT_ERRORS_H
  return "unknown error";
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return library;
}

// Letters whose advances tell one cut of a design from another.
constexpr char32_t kProbe[] = {U'H', U'O', U'n', U'a', U'x', U'g', U'0', U'W'};

QByteArray HeadTable(FT_Face face) {
  QByteArray table;
  FT_ULong length = 0;
  if (FT_Load_Sfnt_Table(face, TTAG_head, 0, nullptr, &length) == 0 && length > 0) {
    table.resize(static_cast<qsizetype>(length));
    if (FT_Load_Sfnt_Table(face, TTAG_head, 0, reinterpret_cast<FT_Byte*>(table.data()), &length))
      table.clear();
  }
  return table;
}

// The glyphs of the text's characters, loaded unscaled: an error names the first that fails.
std::string LoadTextGlyphs(FT_Face face, const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    const FT_UInt glyph = FT_Get_Char_Index(face, c);
    if (!glyph) continue;
    if (const FT_Error error = FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE))
      return "the glyph of U+" +
             QString::number(c, 16).toUpper().rightJustified(4, '0').toStdString() +
             " cannot be read (" + FreeTypeError(error) + ")";
  }
  return {};
}

// Every character the face's map maps to a glyph other than .notdef.
std::vector<std::pair<char32_t, unsigned>> MappedCharacters(FT_Face face) {
  std::vector<std::pair<char32_t, unsigned>> mapped;
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 &&
      FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) != 0)
    return mapped;
  FT_UInt glyph = 0;
  for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0;
       c = FT_Get_Next_Char(face, c, &glyph))
    if (c <= 0x10FFFF) mapped.emplace_back(static_cast<char32_t>(c), glyph);
  return mapped;
}

}  // namespace

FaceFile ReadFaceFile(const InstalledFace& installed, const QString& text, bool characters) {
  FaceFile file;
  FT_Face face = nullptr;
  if (!Library()) {
    file.error = "FreeType cannot be started";
    return file;
  }
  if (const FT_Error error =
          FT_New_Face(Library(), installed.path.c_str(), installed.index, &face)) {
    file.error = std::string("FreeType cannot read it: ") + FreeTypeError(error);
    return file;
  }
  std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> owner(face, FT_Done_Face);
  file.glyphs = face->num_glyphs;
  const char* format = FT_Get_Font_Format(face);
  file.format = format ? format : "";
  file.head = HeadTable(face);
  file.unitsPerEm = face->units_per_EM;
  file.error = LoadTextGlyphs(face, text);
  if (!file.error.empty()) return file;
  for (const char32_t c : kProbe) {
    const FT_UInt glyph = FT_IS_SCALABLE(face) ? FT_Get_Char_Index(face, c) : 0;
    if (glyph && FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) == 0)
      file.advances.emplace_back(c, face->glyph->metrics.horiAdvance);
  }
  if (characters) file.characters = MappedCharacters(face);  // last: it may change the map
  return file;
}

const FaceFile& FaceFiles::Read(const InstalledFace& face, const QString& text, bool characters) {
  if (characters) return withCharacters_ = ReadFaceFile(face, text, true);
  const auto key = std::make_pair(face.path, face.index);
  const auto known = read_.find(key);
  if (known != read_.end()) return known->second;
  return read_.emplace(key, ReadFaceFile(face, text)).first->second;
}

QString FileProblem(const FaceFile& file, const std::string& description) {
  if (!file.error.empty())
    return QStringLiteral("The installed file is damaged: %1")
        .arg(QString::fromStdString(file.error));
  const std::string glyphs = DescribedValue(description, "Glyphs");
  const std::string format = DescribedValue(description, "Format");
  const bool sameGlyphs = glyphs.empty() || glyphs == std::to_string(file.glyphs);
  const bool sameFormat = format.empty() || format == file.format;
  if (sameGlyphs && sameFormat) return {};
  return QStringLiteral(
             "The installed file is not the face the catalogue names: it holds %1 glyphs (%2), "
             "the catalogue's face %3 (%4)")
      .arg(QString::number(file.glyphs), QString::fromStdString(file.format),
           glyphs.empty() ? QStringLiteral("?") : QString::fromStdString(glyphs),
           QString::fromStdString(format.empty() ? file.format : format));
}

}  // namespace pellory::specimen
