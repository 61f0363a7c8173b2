// The text columns of a catalogue record, built in UTF-8 and stored in the
// table's code page.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

#include "font_facts.h"

namespace pellory::mkcatalogue {

inline constexpr std::size_t kFontNameChars = 45;
inline constexpr std::uint16_t kTableCodePage = 1252;

// Family and style, cut after whole characters to 45 and trimmed.
std::string FontNameFor(std::string_view family, std::string_view style);

// Font names as the table stores them are unique: a name whose stored text
// is taken (compared without regard to case) gets " (2)", " (3)", ...,
// cutting the name to keep within 45 characters.
class FontNameAllocator {
 public:
  // The UTF-8 name to store for a face whose name is `name` (from FontNameFor).
  std::string Assign(std::string_view name);

 private:
  std::set<std::string> used_;  // stored text, lower case
};

// At most `chars` UTF-8 characters of text, never half of one.
std::string CutCharacters(std::string_view text, std::size_t chars);

// One fact a line, lines joined with CR LF. scripts: the names of the
// scripts the face covers, its main one first ("Thai, Latin").
std::string DescriptionFor(const FontFacts& facts, std::string_view scripts = {});

// UTF-8 to the table's code page, one byte a character: letters it lacks
// become their plain letter ("Å" -> "L"), other characters "?".
std::string ToTableText(std::string_view utf8);

}  // namespace pellory::mkcatalogue
