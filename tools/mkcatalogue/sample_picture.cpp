#include "sample_picture.h"

#include <algorithm>
#include <vector>

#include "glyph_raster.h"

namespace pellory::mkcatalogue {
namespace {

constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kLineWidth = kPictureMaxWidth - 2 * kMargin;
constexpr int kSymbolCount = 12;

Coverage CropWidth(const Coverage& line, int width) {
  if (line.width <= width) return line;
  Coverage cut;
  cut.width = width;
  cut.height = line.height;
  for (int y = 0; y < line.height; ++y) {
    const auto row = line.pixels.begin() + static_cast<std::ptrdiff_t>(y) * line.width;
    cut.pixels.insert(cut.pixels.end(), row, row + width);
  }
  return cut;
}

// The largest of the sizes at which the text fits the width, else the
// smallest (cut off at the right).
Coverage FittedLine(FT_Face face, std::u32string_view text, std::initializer_list<int> sizes) {
  Coverage line;
  for (int size : sizes) {
    if (!SetPixelSize(face, size)) return {};
    line = RenderLine(face, text, kLineWidth + 1);
    if (line.width <= kLineWidth) break;
  }
  return CropWidth(line, kLineWidth);
}

Coverage TextLine(FT_Face face, FT_Face plain, std::u32string_view text,
                  std::initializer_list<int> sizes) {
  Coverage line = FittedLine(face, text, sizes);
  if (line.width == 0 && plain) line = FittedLine(plain, text, sizes);
  return line;
}

// The first glyphs of the face that leave ink, in glyph order.
Coverage SymbolLine(FT_Face face) {
  if (!SetPixelSize(face, 30)) return {};
  std::vector<FT_UInt> glyphs;
  for (FT_Long g = 1; g < face->num_glyphs && static_cast<int>(glyphs.size()) < kSymbolCount; ++g)
    if (RenderGlyph(face, static_cast<FT_UInt>(g)).width > 0)
      glyphs.push_back(static_cast<FT_UInt>(g));
  return RenderGlyphs(face, glyphs, kLineWidth);
}

// Stacks the lines, centred, black on white.
GreyImage Stack(const std::vector<Coverage>& lines) {
  int width = 0, height = kMargin;
  for (const auto& l : lines) {
    if (l.width == 0) continue;
    width = std::max(width, l.width);
    height += l.height + kGap;
  }
  GreyImage image;
  image.width = std::clamp(width + 2 * kMargin, 2 * kMargin, kPictureMaxWidth);
  image.height = std::clamp(height - kGap + kMargin, 2 * kMargin, kPictureMaxHeight);
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
  int top = kMargin;
  for (const auto& l : lines) {
    if (l.width == 0) continue;
    const int left = (image.width - l.width) / 2;
    for (int y = 0; y < l.height && top + y < image.height; ++y) {
      for (int x = 0; x < l.width; ++x)
        image.pixels[static_cast<std::size_t>(top + y) * image.width + left + x] =
            static_cast<std::uint8_t>(255 - l.at(x, y));
    }
    top += l.height + kGap;
  }
  return image;
}

}  // namespace

GreyImage DrawSample(FT_Face face, FT_Face plain, std::string_view name, SampleKind kind) {
  const std::u32string nameText = DecodeUtf8(name);
  std::vector<Coverage> lines;
  if (kind == SampleKind::Symbols) {
    lines.push_back(SymbolLine(face));
    if (plain) lines.push_back(FittedLine(plain, nameText, {16, 14, 12}));
  } else {
    lines.push_back(TextLine(face, plain, nameText, {30, 26, 22, 18, 15}));
    lines.push_back(TextLine(face, plain, DecodeUtf8(kPangram), {18, 16, 14, 12}));
  }
  return Stack(lines);
}

}  // namespace pellory::mkcatalogue
