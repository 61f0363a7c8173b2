#include "shape_measures.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TYPE1_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "font_variations.h"
#include "glyph_raster.h"

namespace pellory::mkcatalogue {
namespace {

constexpr FT_Int32 kUnscaledOutline = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;

void ReadStyleTables(FT_Face face, ShapeFacts& shape) {
  shape.italicStyleFlag = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF) {
    std::copy(std::begin(os2->panose), std::end(os2->panose), shape.panose.begin());
    shape.familyClass = static_cast<std::uint8_t>((os2->sFamilyClass >> 8) & 0xFF);
  }
  if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)))
    shape.italicAngle = static_cast<double>(post->italicAngle) / 65536.0;
  PS_FontInfoRec info;
  if (!FT_IS_SFNT(face) && FT_Get_PS_Font_Info(face, &info) == 0)
    shape.italicAngle = static_cast<double>(info.italic_angle);
  // A variable font's instance leans as its slant axis says (degrees,
  // negative leaning right, as the post table) and is italic on its
  // italic axis; its tables speak for the default instance only.
  const FaceVariations variations = ReadVariations(face);
  if (const auto slant = variations.Value("slnt")) shape.italicAngle = *slant;
  if (const auto italic = variations.Value("ital"); italic && *italic >= 0.5)
    shape.italicStyleFlag = true;
}

// The glyph's unscaled outline in the slot, or false.
bool LoadOutline(FT_Face face, FT_UInt glyph) {
  return glyph != 0 && FT_Load_Glyph(face, glyph, kUnscaledOutline) == 0 &&
         face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_points > 0;
}

// The glyph's outline stretched to fill a square grid, so that a small
// capital and its capital cover the same cells.
constexpr int kGrid = 32;
std::vector<std::uint8_t> BoxRaster(FT_Face face, FT_UInt glyph) {
  if (!LoadOutline(face, glyph)) return {};
  FT_Outline& outline = face->glyph->outline;
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const double w = std::max<double>(1, static_cast<double>(box.xMax - box.xMin));
  const double h = std::max<double>(1, static_cast<double>(box.yMax - box.yMin));
  FT_Outline_Translate(&outline, -box.xMin, -box.yMin);
  // 16.16 factors taking font units to 26.6 grid pixels.
  FT_Matrix scale{static_cast<FT_Fixed>(kGrid * 64 / w * 65536), 0, 0,
                  static_cast<FT_Fixed>(kGrid * 64 / h * 65536)};
  FT_Outline_Transform(&outline, &scale);
  std::vector<std::uint8_t> cells(kGrid * kGrid, 0);
  FT_Bitmap bitmap;
  FT_Bitmap_Init(&bitmap);
  bitmap.rows = bitmap.width = kGrid;
  bitmap.pitch = kGrid;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  bitmap.num_grays = 256;
  bitmap.buffer = cells.data();
  if (FT_Outline_Get_Bitmap(face->glyph->library, &outline, &bitmap) != 0) return {};
  return cells;
}

// Cells inked in both over cells inked in either.
double Overlap(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  int both = 0, either = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const bool x = a[i] >= 128, y = b[i] >= 128;
    both += x && y;
    either += x || y;
  }
  return either ? static_cast<double>(both) / either : 0;
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

std::optional<bool> SerifsByName(std::string_view family) {
  static const std::vector<std::string_view> kSans = {
      "Sans", "Kufi", "Gothic", "Grotesk", "Grotesque", "Hei", "Heiti", "Dotum", "Gulim"};
  static const std::vector<std::string_view> kSerif = {"Serif", "Naskh",   "Nastaliq", "Mincho",
                                                       "Ming",  "Song",    "Myeongjo", "Batang",
                                                       "Roman", "Antiqua", "Slab"};
  // "Sans" first: "Microsoft Sans Serif".
  if (NameHasWord(family, kSans)) return false;
  if (NameHasWord(family, kSerif)) return true;
  return std::nullopt;
}

bool HasOnlySymbolMap(FT_Face face) {
  bool symbol = false;
  for (int i = 0; i < face->num_charmaps; ++i) {
    if (face->charmaps[i]->encoding == FT_ENCODING_UNICODE) return false;
    symbol = symbol || face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL;
  }
  return symbol;
}

bool SmallLettersDrawnAsCapitals(FT_Face face) {
  // Letters whose small form differs from the capital in every text face.
  constexpr std::array kLetters = {U'a', U'b', U'd', U'e', U'g', U'h', U'n', U'r'};
  // Small capitals of Latin Modern Roman Caps overlap their capitals by 0.77
  // or more; small letters of text faces by 0.76 at most, "h" alone.
  constexpr double kSameShape = 0.7;
  constexpr int kNeeded = 6;
  int alike = 0;
  for (char32_t c : kLetters) {
    const FT_UInt small = FT_Get_Char_Index(face, c);
    const FT_UInt capital = FT_Get_Char_Index(face, c - 0x20);
    if (small == 0 || capital == 0) continue;
    if (small == capital) {
      ++alike;
      continue;
    }
    const auto a = BoxRaster(face, small), b = BoxRaster(face, capital);
    if (!a.empty() && !b.empty() && Overlap(a, b) >= kSameShape) ++alike;
  }
  return alike >= kNeeded;
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

int CountSwashCapitals(FT_Face face, double italicAngle) {
  if (!FT_IS_SCALABLE(face)) return 0;
  const double em = face->units_per_EM;
  // Shearing by the italic angle stands a slanted letter upright, so that
  // the lean of an italic does not count as reaching right.
  const FT_Matrix upright{
      0x10000, static_cast<FT_Fixed>(std::tan(italicAngle * std::numbers::pi / 180) * 65536), 0,
      0x10000};
  int swashes = 0;
  for (char32_t c = U'A'; c <= U'Z'; ++c) {
    if (c == U'J' || c == U'Q') continue;  // their tails descend in text faces too
    if (!LoadOutline(face, FT_Get_Char_Index(face, c))) continue;
    FT_Outline_Transform(&face->glyph->outline, &upright);
    FT_BBox box;
    FT_Outline_Get_CBox(&face->glyph->outline, &box);
    const double advance = static_cast<double>(face->glyph->metrics.horiAdvance);
    if (box.xMax > advance + 0.05 * em || box.yMin < -0.08 * em) ++swashes;
  }
  return swashes;
}

ShapeFacts ReadShapeFacts(FT_Face face, const FaceCoverage& coverage, std::string_view family) {
  ShapeFacts shape;
  ReadStyleTables(face, shape);
  shape.capitalsMapped = coverage.latinCapitals;
  shape.smallLettersMapped = coverage.latinSmallLetters;
  shape.coversOtherScript = std::any_of(
      coverage.scripts.begin(), coverage.scripts.end(),
      [](const CoveredScript& s) { return s.isoCode != "Latn" && s.isoCode != "Grek"; });
  shape.mappedCharacters = coverage.mapped;
  shape.symbolCharacters = coverage.symbols;
  shape.namedSerifs = SerifsByName(family);
  shape.latinMain = coverage.scripts.empty() || coverage.MainIsLatin();
  const std::string names = std::string(family) + ' ' + (face->style_name ? face->style_name : "");
  shape.namedSlanted = NameHasWord(names, {"Italic", "Oblique", "Slanted", "Slant", "Kursiv"});
  shape.symbolCharacterMap = HasOnlySymbolMap(face);
  if (shape.capitalsMapped + shape.smallLettersMapped > 0) {
    shape.smallLettersAsCapitals = SmallLettersDrawnAsCapitals(face);
    shape.measuredSerifs = MeasureSerifs(face);
    shape.joinedLetters = LettersJoin(face);
    shape.swashCapitals = CountSwashCapitals(face, shape.italicAngle);
  }
  return shape;
}

ShapeFacts ReadShapeFacts(FT_Face face) {
  const std::string_view family = face->family_name ? face->family_name : "";
  return ReadShapeFacts(face, ReadFaceCoverage(face, family), family);
}

}  // namespace pellory::mkcatalogue
