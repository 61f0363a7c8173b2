// Text shaped by HarfBuzz in one face: joining scripts joined, marks on
// their bases, conjuncts formed, right-to-left text laid out so.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "glyph_raster.h"

struct hb_font_t;
struct hb_face_t;

namespace pellory::mkcatalogue {

struct ShapedGlyph {
  FT_UInt glyph = 0;
  std::uint32_t cluster = 0;  // byte offset of its characters in the text
  FT_Pos x = 0, y = 0;        // 26.6 pixels from the line's origin, left to right
};

struct ShapedRun {
  std::vector<ShapedGlyph> glyphs;  // in visual order, left to right
  bool rightToLeft = false;
  FT_Pos advance = 0;  // 26.6 pixels
  bool HasMissingGlyph() const;
};

// HarfBuzz's view of one face, kept while lines are shaped in it: making
// it reads the face's layout tables, which costs more than shaping a line.
class Shaper {
 public:
  explicit Shaper(FT_Face face);
  ~Shaper();
  Shaper(const Shaper&) = delete;
  Shaper& operator=(const Shaper&) = delete;

  FT_Face face() const { return face_; }
  // HarfBuzz's face: its tables as HarfBuzz reads them, sanitized.
  hb_face_t* tables() const;
  // Shapes UTF-8 text at the face's current size; the script and
  // direction come from the text.
  ShapedRun Shape(std::string_view text);

 private:
  FT_Face face_;
  hb_font_t* font_;
};

// One line in a face shaped once.
ShapedRun ShapeText(FT_Face face, std::string_view text);

Coverage RenderShaped(FT_Face face, const ShapedRun& run, int maxWidth);

}  // namespace pellory::mkcatalogue
