#include "font_facts.h"

#include <fontconfig/fontconfig.h>
// fcfreetype.h needs the types of fontconfig.h first.
#include <fontconfig/fcfreetype.h>

#include FT_FONT_FORMATS_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TYPE1_TABLES_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "font_names.h"
#include "glyph_raster.h"

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

void ReadStyleTables(FT_Face face, ShapeFacts& shape) {
  shape.italicStyleFlag = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF) {
    shape.panoseFamily = os2->panose[0];
    shape.panoseSerif = os2->panose[1];
    shape.familyClass = static_cast<std::uint8_t>((os2->sFamilyClass >> 8) & 0xFF);
  }
  if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)))
    shape.italicAngle = static_cast<double>(post->italicAngle) / 65536.0;
  PS_FontInfoRec info;
  if (!FT_IS_SFNT(face) && FT_Get_PS_Font_Info(face, &info) == 0)
    shape.italicAngle = static_cast<double>(info.italic_angle);
}

struct Outline {
  int contours = 0;
  std::vector<std::pair<double, double>> points;  // within the box, 0 to 1
};

bool LoadOutline(FT_Face face, FT_UInt glyph, Outline& out) {
  if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return false;
  const FT_Outline& o = face->glyph->outline;
  FT_BBox box;
  FT_Outline_Get_CBox(&o, &box);
  const double w = std::max<double>(1, static_cast<double>(box.xMax - box.xMin));
  const double h = std::max<double>(1, static_cast<double>(box.yMax - box.yMin));
  out.contours = o.n_contours;
  for (int i = 0; i < o.n_points; ++i)
    out.points.emplace_back(static_cast<double>(o.points[i].x - box.xMin) / w,
                            static_cast<double>(o.points[i].y - box.yMin) / h);
  return o.n_points > 0;
}

bool SameShape(const Outline& a, const Outline& b) {
  if (a.contours != b.contours || a.points.size() != b.points.size()) return false;
  for (std::size_t i = 0; i < a.points.size(); ++i)
    if (std::fabs(a.points[i].first - b.points[i].first) > 0.04 ||
        std::fabs(a.points[i].second - b.points[i].second) > 0.04)
      return false;
  return true;
}

// Width of the first inked run of row y.
int FirstRun(const Coverage& c, int y) {
  int x = 0;
  while (x < c.width && c.at(x, y) < 128) ++x;
  const int start = x;
  while (x < c.width && c.at(x, y) >= 128) ++x;
  return x - start;
}

// Eight-connected inked regions of more than a few pixels.
int InkRegions(const Coverage& c) {
  std::vector<std::uint8_t> seen(c.pixels.size(), 0);
  int regions = 0;
  std::vector<int> stack;
  for (int start = 0; start < static_cast<int>(c.pixels.size()); ++start) {
    if (seen[start] || c.pixels[start] < 128) continue;
    int size = 0;
    stack.assign(1, start);
    seen[start] = 1;
    while (!stack.empty()) {
      const int p = stack.back();
      stack.pop_back();
      ++size;
      const int px = p % c.width, py = p / c.width;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int x = px + dx, y = py + dy;
          if (x < 0 || y < 0 || x >= c.width || y >= c.height) continue;
          const int q = y * c.width + x;
          if (!seen[q] && c.pixels[q] >= 128) {
            seen[q] = 1;
            stack.push_back(q);
          }
        }
    }
    if (size > 4) ++regions;
  }
  return regions;
}

}  // namespace

int CountLatinLetters(FT_Face face) {
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return 0;
  int mapped = 0;
  for (char32_t c = U'A'; c <= U'Z'; ++c) {
    mapped += FT_Get_Char_Index(face, c) != 0;
    mapped += FT_Get_Char_Index(face, c + 0x20) != 0;
  }
  return mapped;
}

int CountOtherLetters(FT_Face face) {
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return 0;
  static constexpr std::pair<char32_t, char32_t> kAlphabets[] = {
      {0x0410, 0x044F}, {0x05D0, 0x05EA}, {0x0627, 0x064A}, {0x0905, 0x0939},
      {0x0E01, 0x0E2E}, {0x3041, 0x3096}, {0x4E00, 0x4EFF}, {0xAC00, 0xACFF}};
  int mapped = 0;
  for (const auto& [first, last] : kAlphabets)
    for (char32_t c = first; c <= last; ++c) mapped += FT_Get_Char_Index(face, c) != 0;
  return mapped;
}

bool LowercaseDrawnAsCapitals(FT_Face face) {
  int alike = 0;
  for (char32_t c : {U'a', U'e', U'g', U'r'}) {
    const FT_UInt lower = FT_Get_Char_Index(face, c);
    const FT_UInt upper = FT_Get_Char_Index(face, c - 0x20);
    if (lower == 0 || upper == 0) continue;
    Outline a, b;
    if (lower == upper ||
        (LoadOutline(face, lower, a) && LoadOutline(face, upper, b) && SameShape(a, b)))
      ++alike;
  }
  return alike >= 3;
}

std::optional<bool> MeasureSerifs(FT_Face face) {
  if (!SetPixelSize(face, 120)) return std::nullopt;
  for (char32_t letter : {U'H', U'I'}) {
    const FT_UInt glyph = FT_Get_Char_Index(face, letter);
    if (glyph == 0) continue;
    const Coverage c = RenderGlyph(face, glyph);
    if (c.height < 40) continue;
    // The stem a quarter of the way up against the foot and the head.
    const int stem = FirstRun(c, c.height * 3 / 4);
    const int foot = FirstRun(c, c.height - 2);
    const int head = FirstRun(c, 1);
    if (stem <= 0) continue;
    const auto wider = [stem](int end) { return end >= stem + 3 && end * 100 >= stem * 135; };
    return wider(foot) && wider(head);
  }
  return std::nullopt;
}

bool LettersJoin(FT_Face face) {
  if (!SetPixelSize(face, 64)) return false;
  // Round letters: serifs of a tight monospaced face touch on "mn", but in
  // no face but a joined script does "o" run into "e".
  const Coverage word = RenderLine(face, U"oeoe", 1000);
  return word.width > 0 && InkRegions(word) <= 2;
}

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
  ReadStyleTables(face, f.shape);
  f.shape.latinLettersMapped = CountLatinLetters(face);
  f.shape.otherLettersMapped = CountOtherLetters(face);
  if (f.shape.latinLettersMapped > 0) {
    f.shape.lowercaseAsCapitals = LowercaseDrawnAsCapitals(face);
    f.shape.measuredSerifs = MeasureSerifs(face);
    // Text faces that say what they are need no joining test.
    f.shape.joinedLetters = f.shape.panoseFamily != 2 && LettersJoin(face);
  }
  return f;
}

}  // namespace pellory::mkcatalogue
