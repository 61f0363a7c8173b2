#include "glyph_raster.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace pellory::mkcatalogue {
namespace {

struct PlacedGlyph {
  int left = 0, top = 0;  // of the bitmap, relative to the baseline origin
  Coverage bitmap;
};

// A colour pixel (premultiplied blue, green, red, alpha) laid on white, as
// ink: how much darker than white its grey is.
std::uint8_t BgraInk(const unsigned char* p) {
  const int white = 255 - p[3];
  const double grey = 0.114 * (p[0] + white) + 0.587 * (p[1] + white) + 0.299 * (p[2] + white);
  return static_cast<std::uint8_t>(std::clamp(255.0 - grey, 0.0, 255.0));
}

// Coverage shrunk by `scale` (below 1), each new pixel the mean of the
// pixels it covers.
Coverage Shrunk(const Coverage& c, double scale) {
  if (c.width <= 0 || c.height <= 0) return c;  // a strike's empty glyph stays empty
  Coverage out;
  out.width = std::max(1, static_cast<int>(std::lround(c.width * scale)));
  out.height = std::max(1, static_cast<int>(std::lround(c.height * scale)));
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const int x0 = x * c.width / out.width, x1 = std::max(x0 + 1, (x + 1) * c.width / out.width);
      const int y0 = y * c.height / out.height,
                y1 = std::max(y0 + 1, (y + 1) * c.height / out.height);
      long sum = 0;
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) sum += c.at(sx, sy);
      out.pixels[static_cast<std::size_t>(y) * out.width + x] =
          static_cast<std::uint8_t>(sum / ((x1 - x0) * (y1 - y0)));
    }
  return out;
}

// The glyph slot's bitmap as 8-bit coverage (grey, one bit per pixel, or
// colour as its grey).
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
      else if (b.pixel_mode == FT_PIXEL_MODE_BGRA)
        v = BgraInk(row + 4 * x);
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

// Bitmap strikes in colour where the face has them (CBDT, sbix).
constexpr FT_Int32 kBitmapLoad = FT_LOAD_DEFAULT | FT_LOAD_COLOR;

// No glyph of a sound face is wider or taller than 8 ems (a long Arabic
// ligature reaches 5), nor than 1,024 pixels at the sizes drawn (the
// picture is 356 by 124); a damaged outline can span thousands of ems,
// whose bitmap would take gigabytes and seconds to render.
constexpr FT_Pos kMaxGlyphPixels = 1024;
constexpr FT_Pos kMaxGlyphEms = 8;

FT_Pos MaxGlyphPixels(FT_Face face) {
  const FT_Pos ppem = face->size ? face->size->metrics.y_ppem : 0;
  return std::clamp<FT_Pos>(kMaxGlyphEms * ppem, 64, kMaxGlyphPixels);
}

bool Drawable(FT_Face face) {
  const FT_GlyphSlot slot = face->glyph;
  const FT_Pos most = MaxGlyphPixels(face);
  if (slot->format == FT_GLYPH_FORMAT_BITMAP)
    return static_cast<FT_Pos>(slot->bitmap.width) <= most &&
           static_cast<FT_Pos>(slot->bitmap.rows) <= most;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return true;
  FT_BBox box;
  FT_Outline_Get_CBox(&slot->outline, &box);
  return box.xMax - box.xMin <= most * 64 && box.yMax - box.yMin <= most * 64;
}

bool LoadRendered(FT_Face face, FT_UInt glyph, PlacedGlyph& out) {
  if (!LoadGlyph(face, glyph) || !Drawable(face)) return false;
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
  line.cropped = maxX - minX > maxWidth;
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

bool LoadGlyph(FT_Face face, FT_UInt glyph) {
  return FT_Load_Glyph(face, glyph, kOutlineLoad) == 0 ||
         FT_Load_Glyph(face, glyph, kBitmapLoad) == 0;
}

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

Coverage RenderPlaced(FT_Face face, const std::vector<GlyphPlacement>& placements, int maxWidth,
                      double scale) {
  std::vector<std::pair<int, PlacedGlyph>> glyphs;
  for (const GlyphPlacement& p : placements) {
    PlacedGlyph placed;
    if (!LoadRendered(face, p.glyph, placed)) continue;
    if (scale < 1.0) {
      placed.bitmap = Shrunk(placed.bitmap, scale);
      placed.left = static_cast<int>(std::lround(placed.left * scale));
      placed.top = static_cast<int>(std::lround(placed.top * scale));
    }
    // Placed beyond any line: a damaged font's positioning.
    if (std::abs(p.y >> 6) > kMaxGlyphPixels || std::abs(p.x >> 6) > 8 * kMaxGlyphPixels) continue;
    placed.top += static_cast<int>(p.y >> 6);
    glyphs.emplace_back(static_cast<int>(p.x >> 6), std::move(placed));
  }
  return Compose(glyphs, maxWidth);
}

double StrikeScale(FT_Face face, int pixels) {
  if (FT_IS_SCALABLE(face) || !face->size || face->size->metrics.y_ppem == 0) return 1.0;
  return std::min(1.0, static_cast<double>(pixels) / face->size->metrics.y_ppem);
}

Coverage RenderLine(FT_Face face, std::u32string_view text, int maxWidth) {
  std::vector<FT_UInt> glyphs;
  for (char32_t c : text)
    if (const FT_UInt glyph = FT_Get_Char_Index(face, c)) glyphs.push_back(glyph);
  return RenderGlyphs(face, glyphs, maxWidth);
}

FT_Error GlyphLoadError(FT_Face face, FT_UInt glyph) {
  const FT_Error outline = FT_Load_Glyph(face, glyph, kOutlineLoad);
  if (outline == 0 || FT_Load_Glyph(face, glyph, kBitmapLoad) == 0) return 0;
  return outline;
}

Coverage RenderGlyph(FT_Face face, FT_UInt glyph) {
  PlacedGlyph placed;
  if (!LoadRendered(face, glyph, placed)) return {};
  return placed.bitmap;
}

}  // namespace pellory::mkcatalogue
