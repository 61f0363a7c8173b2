// The characters a face maps, by Unicode block: how many of each block's
// characters it covers, and which.
#pragma once

#include <utility>
#include <vector>

#include "unicode_blocks.h"

namespace pellory::specimen {

struct MappedCharacter {
  char32_t code;
  unsigned glyph;
};

struct BlockCoverage {
  const UnicodeBlock* block;  // null: code points in no block, or not characters
  std::vector<MappedCharacter> mapped;
};

struct FaceCharset {
  std::vector<BlockCoverage> blocks;  // in code order; the others last
  int characters = 0;                 // mapped characters that can be shown
};

// From the face's character map (code and glyph, in code order).
FaceCharset CharsetOf(const std::vector<std::pair<char32_t, unsigned>>& map);

}  // namespace pellory::specimen
