#include "font_facts.h"

#include <fontconfig/fontconfig.h>
// fcfreetype.h needs the types of fontconfig.h first.
#include <fontconfig/fcfreetype.h>

#include FT_FONT_FORMATS_H
#include FT_TYPE1_TABLES_H

#include <algorithm>

#include "font_names.h"

namespace pellory::mkcatalogue {
namespace {

constexpr unsigned kNameFamily = 1;
constexpr unsigned kNameStyle = 2;
constexpr unsigned kNameVersion = 5;
constexpr unsigned kNameLicence = 13;
constexpr unsigned kNameTypographicFamily = 16;
constexpr unsigned kNameTypographicStyle = 17;

// UTF-8 with every character beyond ASCII as "?".
std::string AsAscii(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
      out += c;
    else if (b >= 0xC0)
      out += '?';
  }
  return out;
}

// FreeType keeps only the ASCII of an sfnt name, "?" for the rest, so that
// "Fixtur\u00e9" and "Fixtur\u00e8" would be one face: the naming table's
// entry that FreeType read has the name whole.
std::string WholeName(FT_Face face, const char* freetypeName, unsigned typographicId, unsigned id) {
  const std::string name = freetypeName ? freetypeName : "";
  if (name.find('?') == std::string::npos) return name;
  for (unsigned candidate : {typographicId, id}) {
    const std::string whole = SfntName(face, candidate);
    if (!whole.empty() && AsAscii(whole) == name) return whole;
  }
  return name;
}

std::string FirstLine(const std::string& text, std::size_t maxBytes) {
  std::string line = OneLine(text.substr(0, text.find_first_of("\r\n")));
  if (line.size() > maxBytes) {
    line.resize(maxBytes);
    while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80)
      line.pop_back();
    if (!line.empty() && static_cast<unsigned char>(line.back()) >= 0xC0) line.pop_back();
  }
  return line;
}

std::string Foundry(FT_Face face, const std::filesystem::path& path, int index) {
  std::string foundry;
  FcPattern* pattern = FcFreeTypeQueryFace(face, reinterpret_cast<const FcChar8*>(path.c_str()),
                                           static_cast<unsigned>(index), nullptr);
  FcChar8* text = nullptr;
  if (pattern && FcPatternGetString(pattern, FC_FOUNDRY, 0, &text) == FcResultMatch)
    foundry = reinterpret_cast<const char*>(text);
  if (pattern) FcPatternDestroy(pattern);
  return OneLine(foundry);
}

}  // namespace

FontFacts ReadFontFacts(FT_Face face, const std::filesystem::path& path, int faceIndex) {
  FontFacts f;
  f.path = path;
  f.faceIndex = faceIndex;
  f.family = OneLine(face->family_name
                         ? WholeName(face, face->family_name, kNameTypographicFamily, kNameFamily)
                         : path.stem().string());
  f.style = OneLine(face->style_name
                        ? WholeName(face, face->style_name, kNameTypographicStyle, kNameStyle)
                        : "Regular");
  f.foundry = Foundry(face, path, faceIndex);
  f.version = FirstLine(SfntName(face, kNameVersion), 120);
  PS_FontInfoRec info;
  if (f.version.empty() && FT_Get_PS_Font_Info(face, &info) == 0 && info.version)
    f.version = FirstLine(info.version, 120);
  f.licence = FirstLine(SfntName(face, kNameLicence), 200);
  const char* format = FT_Get_Font_Format(face);
  f.format = format ? format : "";
  f.glyphs = static_cast<std::uint32_t>(std::max<FT_Long>(0, face->num_glyphs));
  f.variations = ReadVariations(face);
  // Counted from the index asked for: setting the coordinates may clear
  // the face's own record of its instance.
  f.variations.instance = (faceIndex >> 16) & 0x7FFF;
  return f;
}

}  // namespace pellory::mkcatalogue
