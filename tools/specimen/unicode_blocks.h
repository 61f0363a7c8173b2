// The Unicode blocks, and which code points are characters a face can show
// (assigned, neither controls nor surrogates), from the Unicode Character
// Database as Debian's unicode-data holds it when the program is built.
#pragma once

namespace pellory::specimen {

struct UnicodeBlock {
  char32_t first;
  char32_t last;
  const char* name;  // as Blocks.txt names it: "Latin Extended-A"
  int characters;    // that can be shown
};

// The block holding `c`; null for a code point in none.
const UnicodeBlock* BlockOf(char32_t c);
// Whether `c` is a character that can be shown.
bool Shown(char32_t c);

}  // namespace pellory::specimen
