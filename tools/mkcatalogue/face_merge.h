// One record per face: several files can hold the same face (URW's fonts
// come as .pfb, .t1 and .otf), and the catalogue keeps one of them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "font_facts.h"

namespace pellory::mkcatalogue {

struct MergedFace {
  FontFacts kept;
  std::vector<FontFacts> leftOut;  // other files of the same face
};

// The faces grouped by family and style, joined as the catalogue shows them
// and compared without regard to case. Each group keeps its richest file:
// the preferred format (FormatRank), then a static face before a variable
// font's instance (its outlines are the designer's own for the style, not
// interpolated, and every program draws it as it is), then the most
// glyphs, then the first path. The named instances of one file have
// styles of their own and so stay apart. Sorted by family, then style,
// then path. The kept face comes first among the copies: a caller that
// finds it damaged takes the next.
std::vector<MergedFace> MergeSameFaces(std::vector<FontFacts> faces);

// 0 for OpenType and TrueType, 1 for Type 1 and its kin, 2 for bitmap
// formats, 3 for what FreeType names otherwise. Lower is preferred.
int FormatRank(std::string_view freetypeFormat);

// Family and style joined by a blank, in lower case.
std::string FaceKey(const FontFacts& facts);

}  // namespace pellory::mkcatalogue
