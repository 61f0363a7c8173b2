#include "font_facts.h"

#include FT_BDF_H
#include FT_FONT_FORMATS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TYPE1_TABLES_H

#include <algorithm>

#include "font_names.h"

namespace pellory::mkcatalogue {
namespace {

constexpr unsigned kNameCopyright = 0;
constexpr unsigned kNameFamily = 1;
constexpr unsigned kNameStyle = 2;
constexpr unsigned kNameVersion = 5;
constexpr unsigned kNameTrademark = 7;
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

// Words of a notice and the foundry they name, as fontconfig's table has
// them.
constexpr std::pair<const char*, const char*> kNoticeFoundries[] = {
    {"Adobe", "adobe"},
    {"Bigelow", "b&h"},
    {"Bitstream", "bitstream"},
    {"Gnat", "culmus"},
    {"Iorsh", "culmus"},
    {"HanYang System", "hanyang"},
    {"Font21", "hwan"},
    {"IBM", "ibm"},
    {"International Typeface Corporation", "itc"},
    {"Linotype", "linotype"},
    {"LINOTYPE-HELL", "linotype"},
    {"Microsoft", "microsoft"},
    {"Monotype", "monotype"},
    {"Omega", "omega"},
    {"Tiro Typeworks", "tiro"},
    {"URW", "urw"},
    {"XFree86", "xfree86"},
    {"Xorg", "xorg"}};

std::string NoticeFoundry(const std::string& notice) {
  for (const auto& [words, foundry] : kNoticeFoundries)
    if (notice.find(words) != std::string::npos) return foundry;
  return {};
}

std::string VendorFoundry(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (!os2 || os2->version == 0xFFFF) return {};
  std::string vendor;
  for (FT_Char c : os2->achVendID)
    if (c != 0) vendor += static_cast<char>(c);
  // Blank or unprintable vendors name no one.
  const bool printable = std::all_of(vendor.begin(), vendor.end(), [](char c) {
    return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
  });
  if (!printable || vendor.find_first_not_of(' ') == std::string::npos) return {};
  return vendor;
}

}  // namespace

std::string ReadFoundry(FT_Face face) {
  if (std::string vendor = VendorFoundry(face); !vendor.empty()) return vendor;
  for (unsigned id : {kNameCopyright, kNameTrademark})
    if (std::string foundry = NoticeFoundry(SfntName(face, id)); !foundry.empty()) return foundry;
  PS_FontInfoRec info;
  if (FT_Get_PS_Font_Info(face, &info) == 0 && info.notice)
    if (std::string foundry = NoticeFoundry(info.notice); !foundry.empty()) return foundry;
  BDF_PropertyRec property;
  if (FT_Get_BDF_Property(face, "FOUNDRY", &property) == 0 &&
      property.type == BDF_PROPERTY_TYPE_ATOM && property.u.atom && *property.u.atom)
    return OneLine(property.u.atom);
  return "unknown";
}

FontFacts ReadFontFacts(FT_Face face, const std::filesystem::path& path, int faceIndex,
                        const std::string* foundry) {
  FontFacts f;
  f.path = path;
  f.faceIndex = faceIndex;
  f.family = OneLine(face->family_name
                         ? WholeName(face, face->family_name, kNameTypographicFamily, kNameFamily)
                         : path.stem().string());
  f.style = OneLine(face->style_name
                        ? WholeName(face, face->style_name, kNameTypographicStyle, kNameStyle)
                        : "Regular");
  f.foundry = OneLine(foundry ? *foundry : ReadFoundry(face));
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
