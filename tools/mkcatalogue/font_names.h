// Strings of a face's naming tables, as UTF-8.
#pragma once

#include <string>

#include "freetype_handle.h"

namespace pellory::mkcatalogue {

// The sfnt 'name' entry with this id, preferring Windows English, then any
// Windows or Unicode entry, then a Macintosh Roman one; "" when absent.
std::string SfntName(FT_Face face, unsigned nameId);

// Control characters become blanks and runs of blanks one; ends trimmed.
std::string OneLine(const std::string& text);

}  // namespace pellory::mkcatalogue
