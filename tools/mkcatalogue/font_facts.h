// What the catalogue says about one face: its names and facts for the
// description, and the measurements its category is decided from.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "font_category.h"
#include "freetype_handle.h"

namespace pellory::mkcatalogue {

struct FontFacts {
  std::filesystem::path path;
  int faceIndex = 0;
  std::string family, style, foundry, version, format, licence;  // UTF-8
  std::uint32_t glyphs = 0;
  ShapeFacts shape;
};

// Reads an open face; fields the face lacks stay empty.
FontFacts ReadFontFacts(FT_Face face, const std::filesystem::path& path, int faceIndex);

// Measurements behind the category (exposed for tests).
int CountLatinLetters(FT_Face face);
int CountOtherLetters(FT_Face face);
bool LowercaseDrawnAsCapitals(FT_Face face);
std::optional<bool> MeasureSerifs(FT_Face face);
bool LettersJoin(FT_Face face);

}  // namespace pellory::mkcatalogue
