#include "unicode_blocks.h"

#include <algorithm>
#include <iterator>

namespace pellory::specimen {
namespace {

struct CodeRange {
  char32_t first;
  char32_t last;
};

#include "unicode_blocks_table.inc"

// The entry whose range holds `c` in a table sorted by range, or null.
template <typename Entry, std::size_t N>
const Entry* Holding(const Entry (&table)[N], char32_t c) {
  const Entry* after =
      std::upper_bound(std::begin(table), std::end(table), c,
                       [](char32_t code, const Entry& e) { return code < e.first; });
  if (after == std::begin(table)) return nullptr;
  const Entry* entry = std::prev(after);
  return c <= entry->last ? entry : nullptr;
}

}  // namespace

const UnicodeBlock* BlockOf(char32_t c) {
  return Holding(kBlocks, c);
}

bool Shown(char32_t c) {
  return Holding(kShown, c) != nullptr;
}

}  // namespace pellory::specimen
