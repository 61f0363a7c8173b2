#include "sample_picture.h"

#include <algorithm>
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

// The text at the largest size at which it fits the width; at the
// smallest, words (or clusters) come off its end until it fits.
SampleLine FittedLine(Shaper& shaper, std::string text, std::initializer_list<int> sizes) {
  FT_Face face = shaper.face();
  SampleLine line{face, std::move(text), 0, {}, {}};
  for (int size : sizes) {
    if (!SetPixelSize(face, size)) return line;
    line.pixelSize = size;
    line.run = shaper.Shape(line.text);
    if (Pixels(line.run.advance) <= kLineWidth) break;
  }
  while (Pixels(line.run.advance) > kLineWidth && !line.text.empty()) {
    line.text = Shortened(line.text, line.run);
    line.run = shaper.Shape(line.text);
  }
  line.ink = RenderShaped(face, line.run, kLineWidth);
  return line;
}

// The first glyphs of the face that leave ink, in glyph order, placed at
// their advances.
SampleLine SymbolLine(FT_Face face) {
  SampleLine line{face, {}, 30, {}, {}};
  if (!SetPixelSize(face, line.pixelSize)) return line;
  FT_Pos pen = 0;
  for (FT_Long g = 1; g < face->num_glyphs && line.run.glyphs.size() < kSymbolCount; ++g) {
    const auto glyph = static_cast<FT_UInt>(g);
    if (RenderGlyph(face, glyph).width == 0) continue;
    line.run.glyphs.push_back({glyph, 0, pen, 0});
    pen += face->glyph->advance.x;
  }
  line.run.advance = pen;
  line.ink = RenderShaped(face, line.run, kLineWidth);
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
  const std::vector<SampleLine> lines = LayoutSample(face, plain, name, kind, coverage);
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
