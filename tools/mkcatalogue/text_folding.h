// Letters and marks that code page 1252 lacks, replaced by the plain
// characters they are drawn on ("Ł" -> "L", "ș" -> "s", minus -> "-"), so
// that catalogue text stays readable instead of turning into "?".
#pragma once

#include <string>
#include <string_view>

namespace pellory::mkcatalogue {

// Each character that has a plain stand-in is replaced by exactly one
// character, so character counts stay as they were; others are kept.
std::string FoldToPlainLetters(std::string_view utf8);

}  // namespace pellory::mkcatalogue
