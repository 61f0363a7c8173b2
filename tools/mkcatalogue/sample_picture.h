// The sample picture of a face: its name and a line of text in the script
// it was made for, drawn in the face, black on white, no larger than the
// program's picture box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bmp_image.h"
#include "face_scripts.h"
#include "freetype_handle.h"
#include "shaped_line.h"

namespace pellory::mkcatalogue {

inline constexpr int kPictureMaxWidth = 356;
inline constexpr int kPictureMaxHeight = 124;

enum class SampleKind { Text, Symbols };

// One line of the picture as laid out: what it shows, in which face and
// size, shaped, and its ink.
struct SampleLine {
  FT_Face face = nullptr;
  std::string text;  // UTF-8; empty for a row of symbol glyphs
  int pixelSize = 0;
  ShapedRun run;
  Coverage ink;
};

// name: UTF-8. plain: the face for a name the sampled face cannot draw,
// or null. Text faces: the name, then the sample line of the face's main
// script, then the Latin pangram where the main script is another and
// room remains. Symbol faces: a row of their glyphs, then the name.
std::vector<SampleLine> LayoutSample(Shaper& face, Shaper* plain, std::string_view name,
                                     SampleKind kind, const FaceCoverage& coverage);

// The laid-out lines stacked and centred; the picture is never empty.
GreyImage DrawLines(const std::vector<SampleLine>& lines);
// LayoutSample's lines drawn.
GreyImage DrawSample(Shaper& face, Shaper* plain, std::string_view name, SampleKind kind,
                     const FaceCoverage& coverage);
// The same with shapers made for the one picture.
GreyImage DrawSample(FT_Face face, FT_Face plain, std::string_view name, SampleKind kind,
                     const FaceCoverage& coverage);

}  // namespace pellory::mkcatalogue
