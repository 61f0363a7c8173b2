// Measurements of a face's letters and what its tables say about its kind:
// the facts its catalogue category is decided from.
#pragma once

#include <optional>

#include "font_category.h"
#include "freetype_handle.h"

namespace pellory::mkcatalogue {

// Everything but configuredCursive, which comes from fontconfig.
ShapeFacts ReadShapeFacts(FT_Face face);

// The single measurements, exposed for tests.
struct LetterCounts {
  int capitals = 0, smallLetters = 0, otherLetters = 0;
};
LetterCounts CountLetters(FT_Face face);
bool HasOnlySymbolMap(FT_Face face);
bool SmallLettersDrawnAsCapitals(FT_Face face);
std::optional<bool> MeasureSerifs(FT_Face face);
bool LettersJoin(FT_Face face);
int CountSwashCapitals(FT_Face face, double italicAngle);

}  // namespace pellory::mkcatalogue
