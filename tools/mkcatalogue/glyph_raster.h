// Glyphs rendered by FreeType into 8-bit coverage, placed on a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "freetype_handle.h"
#include "pellory/text/utf8.h"

namespace pellory::mkcatalogue {

// Coverage 0 (none) to 255 (full), rows top down.
struct Coverage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
  bool cropped = false;  // ink beyond maxWidth was cut off
  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Sets the face to about `pixels` high: scalable faces exactly, bitmap-only
// faces to their nearest strike. False when neither works.
bool SetPixelSize(FT_Face face, int pixels);

// A run of glyphs drawn from `text` (UTF-8) on one baseline, cropped to its
// ink and to maxWidth. Characters the face lacks are left out.
Coverage RenderLine(FT_Face face, std::u32string_view text, int maxWidth);

// Glyphs by index, in a row at their advances, cropped as RenderLine.
Coverage RenderGlyphs(FT_Face face, const std::vector<FT_UInt>& glyphs, int maxWidth);

// A glyph at its place on the line: 26.6 pixels from the line's origin,
// y upwards, as a shaper places it.
struct GlyphPlacement {
  FT_UInt glyph = 0;
  FT_Pos x = 0, y = 0;
};

// Placed glyphs drawn on one line, cropped as RenderLine. Each glyph's
// bitmap, its place and the placements are scaled by `scale` (a bitmap
// strike larger than the line, as colour emoji's).
Coverage RenderPlaced(FT_Face face, const std::vector<GlyphPlacement>& glyphs, int maxWidth,
                      double scale = 1.0);

// How much a bitmap face's strike must shrink to be `pixels` high: 1 for
// outline faces and strikes no larger.
double StrikeScale(FT_Face face, int pixels);

// Loads the glyph into the face's slot as the picture draws it: outline
// faces by their outlines, unhinted; bitmap faces by their strike, in
// colour where they have it. False when it does not load.
bool LoadGlyph(FT_Face face, FT_UInt glyph);

// FreeType's error loading the glyph as the picture loads it; 0 when it
// loads.
FT_Error GlyphLoadError(FT_Face face, FT_UInt glyph);

// One glyph, cropped to its ink.
Coverage RenderGlyph(FT_Face face, FT_UInt glyph);

// The builder reads and writes its UTF-8 through the program's one codec.
using text::AppendUtf8;
using text::DecodeUtf8;
using text::EncodeUtf8;

}  // namespace pellory::mkcatalogue
