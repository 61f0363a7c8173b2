#include "sample_picture.h"

#include <hb.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "glyph_raster.h"

namespace pellory::mkcatalogue {
namespace {

constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kLineWidth = kPictureMaxWidth - 2 * kMargin;
constexpr int kSymbolCount = 12;
constexpr std::initializer_list<int> kNameSizes = {30, 26, 22, 18, 15};
constexpr std::initializer_list<int> kSmallNameSizes = {22, 18, 15};
constexpr std::initializer_list<int> kLatinSizes = {18, 16, 14, 12};
constexpr std::initializer_list<int> kScriptSizes = {24, 22, 20, 18, 16, 14};

int Pixels(FT_Pos value) {
  return static_cast<int>((value + 63) >> 6);
}

// The text without its last word, or where it has no space, without its
// last cluster (so a base keeps its marks).
std::string Shortened(const std::string& text, const ShapedRun& run) {
  const std::size_t space = text.find_last_of(' ');
  if (space != std::string::npos && space > 0) return text.substr(0, space);
  std::uint32_t last = 0;
  for (const ShapedGlyph& g : run.glyphs) last = std::max(last, g.cluster);
  return text.substr(0, last);
}

// Whether the line's ink, not only its advance, fits the width: a last
// glyph may reach right of its advance.
bool Fits(SampleLine& line) {
  if (Pixels(line.run.advance) > kLineWidth) return false;
  line.ink = RenderShaped(line.face, line.run, kLineWidth);
  return !line.ink.cropped;
}

// The text at the largest size at which it fits the width; at the
// smallest, words (or clusters) come off its end until it fits.
SampleLine FittedLine(Shaper& shaper, std::string text, std::initializer_list<int> sizes) {
  FT_Face face = shaper.face();
  SampleLine line{face, std::move(text), 0, {}, {}};
  for (int size : sizes) {
    if (!SetPixelSize(face, size)) return line;
    line.pixelSize = size;
    line.run = shaper.Shape(line.text);
    if (Fits(line)) return line;
  }
  while (!line.text.empty()) {
    line.text = Shortened(line.text, line.run);
    line.run = shaper.Shape(line.text);
    if (Fits(line)) return line;
  }
  line.ink = {};
  return line;
}

bool IsSymbolCharacter(hb_unicode_funcs_t* unicode, FT_ULong c) {
  const auto category = hb_unicode_general_category(unicode, static_cast<hb_codepoint_t>(c));
  return category == HB_UNICODE_GENERAL_CATEGORY_OTHER_SYMBOL ||
         category == HB_UNICODE_GENERAL_CATEGORY_MATH_SYMBOL ||
         category == HB_UNICODE_GENERAL_CATEGORY_PRIVATE_USE;
}

// The glyphs of the characters that make the face a symbol face, spread
// over all of them: symbols and private-use characters beyond Latin-1
// through a Unicode map, not the ASCII punctuation symbol faces also map.
// A symbol map, or a Unicode map that maps nothing beyond Latin-1 (Standard
// Symbols PS's and D050000L's OpenType files, in Symbol's encoding), gives
// its upper half first: Symbol's lower half is ASCII's punctuation and
// Greek, its upper half its mathematical signs. Else the glyphs in order.
std::vector<FT_UInt> SymbolCandidates(FT_Face face) {
  std::vector<FT_UInt> symbols, upperHalf, lowerHalf;
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  const bool unicodeMap = FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
  if (unicodeMap || FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) {
    FT_UInt glyph = 0;
    for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0;
         c = FT_Get_Next_Char(face, c, &glyph)) {
      const FT_ULong code = unicodeMap ? c : c & 0xFF;
      if (unicodeMap && c >= 0x100 && IsSymbolCharacter(unicode, c))
        symbols.push_back(glyph);
      else if (code > 0xA0 && code <= 0xFF)
        upperHalf.push_back(glyph);
      else if (code > 0x20 && code < 0x7F)
        lowerHalf.push_back(glyph);
    }
    if (unicodeMap) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  }
  // The first of them that can fill the row, else all of them.
  for (std::vector<FT_UInt>* part : {&upperHalf, &lowerHalf})
    if (symbols.size() < kSymbolCount) {
      if (part->size() >= kSymbolCount) symbols.clear();
      symbols.insert(symbols.end(), part->begin(), part->end());
    }
  std::vector<FT_UInt> candidates;
  constexpr std::size_t kCandidates = 3 * kSymbolCount;  // some leave no ink
  if (symbols.size() > kCandidates)
    for (std::size_t i = 0; i < kCandidates; ++i)
      candidates.push_back(symbols[i * symbols.size() / kCandidates]);
  else
    candidates = symbols;
  if (candidates.size() < kSymbolCount)
    for (FT_Long g = 1; g < face->num_glyphs && g <= static_cast<FT_Long>(kCandidates); ++g)
      candidates.push_back(static_cast<FT_UInt>(g));
  return candidates;
}

// The face's symbols that leave ink, at their advances, at the largest
// size at which the row fits whole; at the smallest, symbols come off its
// end until it fits. Bitmap strikes are scaled to the size.
SampleLine SymbolLine(FT_Face face) {
  SampleLine line{face, {}, 0, {}, {}};
  std::vector<FT_UInt> glyphs;
  for (int size : {30, 26, 22, 18}) {
    if (!SetPixelSize(face, size)) return line;
    const double scale = StrikeScale(face, size);
    if (glyphs.empty())
      for (FT_UInt glyph : SymbolCandidates(face))
        if (glyphs.size() < kSymbolCount && RenderGlyph(face, glyph).width > 0)
          glyphs.push_back(glyph);
    for (std::size_t count = glyphs.size(); count > 0; --count) {
      line.pixelSize = size;
      line.run = {};
      FT_Pos pen = 0;
      for (std::size_t i = 0; i < count && LoadGlyph(face, glyphs[i]); ++i) {
        line.run.glyphs.push_back({glyphs[i], 0, pen, 0});
        pen += static_cast<FT_Pos>(std::lround(face->glyph->advance.x * scale));
      }
      line.run.advance = pen;
      std::vector<GlyphPlacement> placed;
      for (const ShapedGlyph& g : line.run.glyphs) placed.push_back({g.glyph, g.x, g.y});
      line.ink = RenderPlaced(face, placed, kLineWidth, scale);
      if (!line.ink.cropped) return line;
      if (size != 18) break;  // a smaller size first
    }
  }
  line.ink = {};
  return line;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// The main script's line when the face maps all of it; a face of capitals
// gets the pangram in capitals; else a run of the script's own letters.
std::string ScriptText(FT_Face face, const CoveredScript& script) {
  if (std::string text = DrawableText(face, script.sample); !text.empty()) return text;
  if (script.isoCode == "Latn")
    if (std::string text = DrawableText(face, Upper(kPangram)); !text.empty()) return text;
  return script.letterRun;
}

int StackHeight(const std::vector<SampleLine>& lines) {
  int height = 2 * kMargin - kGap;
  for (const auto& l : lines)
    if (l.ink.width > 0) height += l.ink.height + kGap;
  return height;
}

}  // namespace

std::vector<SampleLine> LayoutSample(Shaper& shaper, Shaper* plain, std::string_view name,
                                     SampleKind kind, const FaceCoverage& coverage) {
  FT_Face face = shaper.face();
  const std::string nameText(name);
  Shaper& nameShaper = plain && !MapsAll(face, name) ? *plain : shaper;
  std::vector<SampleLine> lines;
  if (kind == SampleKind::Symbols || coverage.scripts.empty()) {
    lines.push_back(SymbolLine(face));
    // Symbol faces' own characters are no names: the name in the plain face.
    if (plain) lines.push_back(FittedLine(*plain, nameText, {16, 14, 12}));
    return lines;
  }
  const CoveredScript& main = coverage.scripts.front();
  const bool latin = main.isoCode == "Latn";
  const std::string latinText = latin ? "" : DrawableText(face, kPangram);
  const bool withLatin = !latinText.empty() && coverage.Covers("Latn");
  lines.push_back(FittedLine(nameShaper, nameText, withLatin ? kSmallNameSizes : kNameSizes));
  lines.push_back(FittedLine(shaper, ScriptText(face, main), latin ? kLatinSizes : kScriptSizes));
  if (withLatin) {
    lines.push_back(FittedLine(shaper, latinText, kLatinSizes));
    // The Latin line only where room remains.
    if (StackHeight(lines) > kPictureMaxHeight) lines.pop_back();
  }
  return lines;
}

GreyImage DrawSample(FT_Face face, FT_Face plain, std::string_view name, SampleKind kind,
                     const FaceCoverage& coverage) {
  Shaper shaper(face);
  if (!plain) return DrawSample(shaper, nullptr, name, kind, coverage);
  Shaper plainShaper(plain);
  return DrawSample(shaper, &plainShaper, name, kind, coverage);
}

GreyImage DrawSample(Shaper& face, Shaper* plain, std::string_view name, SampleKind kind,
                     const FaceCoverage& coverage) {
  return DrawLines(LayoutSample(face, plain, name, kind, coverage));
}

GreyImage DrawLines(const std::vector<SampleLine>& lines) {
  int width = 0;
  for (const auto& l : lines) width = std::max(width, l.ink.width);
  GreyImage image;
  image.width = std::clamp(width + 2 * kMargin, 2 * kMargin, kPictureMaxWidth);
  image.height = std::clamp(StackHeight(lines), 2 * kMargin, kPictureMaxHeight);
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
  int top = kMargin;
  for (const auto& line : lines) {
    const Coverage& l = line.ink;
    if (l.width == 0) continue;
    const int left = (image.width - l.width) / 2;
    for (int y = 0; y < l.height && top + y < image.height; ++y)
      for (int x = 0; x < l.width; ++x)
        image.pixels[static_cast<std::size_t>(top + y) * image.width + left + x] =
            static_cast<std::uint8_t>(255 - l.at(x, y));
    top += l.height + kGap;
  }
  return image;
}

}  // namespace pellory::mkcatalogue
