#include "font_names.h"

#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include "glyph_raster.h"

namespace pellory::mkcatalogue {
namespace {

std::string FromUtf16Be(const FT_Byte* s, FT_UInt length) {
  std::string out;
  for (FT_UInt i = 0; i + 1 < length; i += 2) {
    char32_t c = static_cast<char32_t>((s[i] << 8) | s[i + 1]);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < length) {
      const char32_t low = static_cast<char32_t>((s[i + 2] << 8) | s[i + 3]);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = U'?';
    AppendUtf8(out, c);
  }
  return out;
}

// Macintosh Roman: ASCII is all that naming tables use in practice.
std::string FromMacRoman(const FT_Byte* s, FT_UInt length) {
  std::string out;
  for (FT_UInt i = 0; i < length; ++i) out += s[i] < 0x80 ? static_cast<char>(s[i]) : '?';
  return out;
}

int Preference(const FT_SfntName& n) {
  if (n.platform_id == TT_PLATFORM_MICROSOFT &&
      n.language_id == TT_MS_LANGID_ENGLISH_UNITED_STATES &&
      (n.encoding_id == TT_MS_ID_UNICODE_CS || n.encoding_id == TT_MS_ID_UCS_4))
    return 4;
  if (n.platform_id == TT_PLATFORM_MICROSOFT &&
      (n.encoding_id == TT_MS_ID_UNICODE_CS || n.encoding_id == TT_MS_ID_UCS_4))
    return 3;
  if (n.platform_id == TT_PLATFORM_APPLE_UNICODE) return 2;
  if (n.platform_id == TT_PLATFORM_MACINTOSH && n.encoding_id == TT_MAC_ID_ROMAN) return 1;
  return 0;
}

}  // namespace

std::string SfntName(FT_Face face, unsigned nameId) {
  if (!FT_IS_SFNT(face)) return {};
  int best = 0;
  std::string text;
  const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
  for (FT_UInt i = 0; i < count; ++i) {
    FT_SfntName name;
    if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId) continue;
    const int preference = Preference(name);
    if (preference <= best) continue;
    best = preference;
    text = preference == 1 ? FromMacRoman(name.string, name.string_len)
                           : FromUtf16Be(name.string, name.string_len);
  }
  return text;
}

std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == ' ';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace pellory::mkcatalogue
