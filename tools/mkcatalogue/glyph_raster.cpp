#include "glyph_raster.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pellory::mkcatalogue {
namespace {

struct PlacedGlyph {
  int left = 0, top = 0;  // of the bitmap, relative to the baseline origin
  Coverage bitmap;
};

// The glyph slot's bitmap as 8-bit coverage (grey or one bit per pixel).
Coverage SlotCoverage(const FT_Bitmap& b) {
  Coverage c;
  c.width = static_cast<int>(b.width);
  c.height = static_cast<int>(b.rows);
  c.pixels.assign(static_cast<std::size_t>(c.width) * c.height, 0);
  for (int y = 0; y < c.height; ++y) {
    const unsigned char* row = b.buffer + static_cast<std::ptrdiff_t>(y) * b.pitch;
    for (int x = 0; x < c.width; ++x) {
      std::uint8_t v = 0;
      if (b.pixel_mode == FT_PIXEL_MODE_GRAY)
        v = static_cast<std::uint8_t>(row[x] * 255 / std::max(1, b.num_grays - 1));
      else if (b.pixel_mode == FT_PIXEL_MODE_MONO)
        v = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
      c.pixels[static_cast<std::size_t>(y) * c.width + x] = v;
    }
  }
  return c;
}

// Outlines unhinted: the shaper places glyphs at unhinted advances, grey
// pixels need no grid fitting, and the TrueType hinting interpreter was
// a third of the builder's time.
constexpr FT_Int32 kOutlineLoad = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;

// Outline faces by their outlines; bitmap faces by their strike.
bool LoadGlyph(FT_Face face, FT_UInt glyph) {
  return FT_Load_Glyph(face, glyph, kOutlineLoad) == 0 ||
         FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0;
}

bool LoadRendered(FT_Face face, FT_UInt glyph, PlacedGlyph& out) {
  if (!LoadGlyph(face, glyph)) return false;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
  out.left = face->glyph->bitmap_left;
  out.top = face->glyph->bitmap_top;
  out.bitmap = SlotCoverage(face->glyph->bitmap);
  return true;
}

Coverage Compose(const std::vector<std::pair<int, PlacedGlyph>>& glyphs, int maxWidth) {
  int minX = INT_MAX, maxX = INT_MIN, maxTop = INT_MIN, minBottom = INT_MAX;
  for (const auto& [x, g] : glyphs) {
    if (g.bitmap.width == 0 || g.bitmap.height == 0) continue;
    minX = std::min(minX, x + g.left);
    maxX = std::max(maxX, x + g.left + g.bitmap.width);
    maxTop = std::max(maxTop, g.top);
    minBottom = std::min(minBottom, g.top - g.bitmap.height);
  }
  Coverage line;
  if (minX == INT_MAX) return line;
  line.width = std::min(maxX - minX, maxWidth);
  line.height = maxTop - minBottom;
  line.pixels.assign(static_cast<std::size_t>(line.width) * line.height, 0);
  for (const auto& [x, g] : glyphs) {
    for (int gy = 0; gy < g.bitmap.height; ++gy) {
      const int y = maxTop - g.top + gy;
      for (int gx = 0; gx < g.bitmap.width; ++gx) {
        const int lx = x + g.left + gx - minX;
        if (lx < 0 || lx >= line.width) continue;
        auto& p = line.pixels[static_cast<std::size_t>(y) * line.width + lx];
        p = std::max(p, g.bitmap.at(gx, gy));
      }
    }
  }
  return line;
}

}  // namespace

bool SetPixelSize(FT_Face face, int pixels) {
  if (FT_IS_SCALABLE(face)) return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) == 0;
  if (face->num_fixed_sizes <= 0) return false;
  int best = 0;
  for (int i = 1; i < face->num_fixed_sizes; ++i)
    if (std::abs(face->available_sizes[i].height - pixels) <
        std::abs(face->available_sizes[best].height - pixels))
      best = i;
  return FT_Select_Size(face, best) == 0;
}

Coverage RenderGlyphs(FT_Face face, const std::vector<FT_UInt>& glyphIds, int maxWidth) {
  std::vector<GlyphPlacement> placed;
  FT_Pos pen = 0;  // 26.6
  FT_UInt previous = 0;
  for (FT_UInt glyph : glyphIds) {
    if (previous && FT_HAS_KERNING(face)) {
      FT_Vector kern{};
      if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern) == 0) pen += kern.x;
    }
    if (!LoadGlyph(face, glyph)) continue;
    placed.push_back({glyph, pen, 0});
    pen += face->glyph->advance.x;
    previous = glyph;
    if ((pen >> 6) > 4 * maxWidth) break;  // far past what can be shown
  }
  return RenderPlaced(face, placed, maxWidth);
}

Coverage RenderPlaced(FT_Face face, const std::vector<GlyphPlacement>& placements, int maxWidth) {
  std::vector<std::pair<int, PlacedGlyph>> glyphs;
  for (const GlyphPlacement& p : placements) {
    PlacedGlyph placed;
    if (!LoadRendered(face, p.glyph, placed)) continue;
    placed.top += static_cast<int>(p.y >> 6);
    glyphs.emplace_back(static_cast<int>(p.x >> 6), std::move(placed));
  }
  return Compose(glyphs, maxWidth);
}

Coverage RenderLine(FT_Face face, std::u32string_view text, int maxWidth) {
  std::vector<FT_UInt> glyphs;
  for (char32_t c : text)
    if (const FT_UInt glyph = FT_Get_Char_Index(face, c)) glyphs.push_back(glyph);
  return RenderGlyphs(face, glyphs, maxWidth);
}

Coverage RenderGlyph(FT_Face face, FT_UInt glyph) {
  PlacedGlyph placed;
  if (!LoadRendered(face, glyph, placed)) return {};
  return placed.bitmap;
}

}  // namespace pellory::mkcatalogue
