// Measurements of a face's letters and what its tables say about its kind:
// the facts its catalogue category is decided from.
#pragma once

#include <optional>
#include <string_view>

#include "face_scripts.h"
#include "font_category.h"
#include "freetype_handle.h"

namespace pellory::mkcatalogue {

// Everything but configuredCursive, which comes from fontconfig. The
// family's name says where the face is made for one script of several
// and may name its serifs.
ShapeFacts ReadShapeFacts(FT_Face face, const FaceCoverage& coverage, std::string_view family);
// With the coverage and family FreeType reads.
ShapeFacts ReadShapeFacts(FT_Face face);

// The single measurements, exposed for tests.
std::optional<bool> SerifsByName(std::string_view family);
bool HasOnlySymbolMap(FT_Face face);
bool SmallLettersDrawnAsCapitals(FT_Face face);
std::optional<bool> MeasureSerifs(FT_Face face);
bool LettersJoin(FT_Face face);
int CountSwashCapitals(FT_Face face, double italicAngle);

}  // namespace pellory::mkcatalogue
