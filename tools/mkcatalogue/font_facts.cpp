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

constexpr unsigned kNameVersion = 5;
constexpr unsigned kNameLicence = 13;

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
  f.family = OneLine(face->family_name ? face->family_name : path.stem().string());
  f.style = OneLine(face->style_name ? face->style_name : "Regular");
  f.foundry = Foundry(face, path, faceIndex);
  f.version = FirstLine(SfntName(face, kNameVersion), 120);
  PS_FontInfoRec info;
  if (f.version.empty() && FT_Get_PS_Font_Info(face, &info) == 0 && info.version)
    f.version = FirstLine(info.version, 120);
  f.licence = FirstLine(SfntName(face, kNameLicence), 200);
  const char* format = FT_Get_Font_Format(face);
  f.format = format ? format : "";
  f.glyphs = static_cast<std::uint32_t>(std::max<FT_Long>(0, face->num_glyphs));
  return f;
}

}  // namespace pellory::mkcatalogue
