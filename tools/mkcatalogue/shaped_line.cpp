#include "shaped_line.h"

#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <memory>

namespace pellory::mkcatalogue {
namespace {

struct BufferCloser {
  void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

}  // namespace

bool ShapedRun::HasMissingGlyph() const {
  return std::any_of(glyphs.begin(), glyphs.end(),
                     [](const ShapedGlyph& g) { return g.glyph == 0; });
}

Shaper::Shaper(FT_Face face) : face_(face), font_(hb_ft_font_create_referenced(face)) {}

hb_face_t* Shaper::tables() const {
  return hb_font_get_face(font_);
}

Shaper::~Shaper() {
  hb_font_destroy(font_);
}

ShapedRun ShapeText(FT_Face face, std::string_view text) {
  return Shaper(face).Shape(text);
}

ShapedRun Shaper::Shape(std::string_view text) {
  // The face's size may have changed since the last line.
  hb_ft_font_changed(font_);
  const std::unique_ptr<hb_buffer_t, BufferCloser> buffer(hb_buffer_create());
  hb_buffer_add_utf8(buffer.get(), text.data(), static_cast<int>(text.size()), 0,
                     static_cast<int>(text.size()));
  hb_buffer_guess_segment_properties(buffer.get());
  hb_shape(font_, buffer.get(), nullptr, 0);
  ShapedRun run;
  run.rightToLeft = hb_buffer_get_direction(buffer.get()) == HB_DIRECTION_RTL;
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);
  FT_Pos pen = 0;
  for (unsigned i = 0; i < count; ++i) {
    run.glyphs.push_back(
        {infos[i].codepoint, infos[i].cluster, pen + positions[i].x_offset, positions[i].y_offset});
    pen += positions[i].x_advance;
  }
  run.advance = pen;
  return run;
}

Coverage RenderShaped(FT_Face face, const ShapedRun& run, int maxWidth) {
  std::vector<GlyphPlacement> placed;
  placed.reserve(run.glyphs.size());
  for (const ShapedGlyph& g : run.glyphs) placed.push_back({g.glyph, g.x, g.y});
  return RenderPlaced(face, placed, maxWidth);
}

}  // namespace pellory::mkcatalogue
