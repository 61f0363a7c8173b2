// What the catalogue says about one face: its names and the facts for its
// description.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "font_variations.h"
#include "freetype_handle.h"

namespace pellory::mkcatalogue {

struct FontFacts {
  std::filesystem::path path;
  int faceIndex = 0;
  std::string family, style, foundry, version, format, licence;  // UTF-8
  std::uint32_t glyphs = 0;
  FaceVariations variations;  // axes and instance of a variable font

  // The face of a collection, without the named instance's bits.
  int FaceNumber() const { return faceIndex & 0xFFFF; }
};

// Reads an open face; fields the face lacks stay empty. `foundry`: the one
// fontconfig gave the face when it listed it; null for a file it did not
// list, whose foundry is read as fontconfig reads it (ReadFoundry).
FontFacts ReadFontFacts(FT_Face face, const std::filesystem::path& path, int faceIndex,
                        const std::string* foundry = nullptr);

// The foundry as fontconfig names it, read without fontconfig (whose
// reading of a damaged naming table writes with overlapping copies): the
// OS/2 table's vendor, else a foundry the notice or copyright names
// ("urw"), else a BDF or PCF font's FOUNDRY property, else "unknown".
std::string ReadFoundry(FT_Face face);

}  // namespace pellory::mkcatalogue
