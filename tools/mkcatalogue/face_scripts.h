// The writing systems a face covers, read from its character map, and the
// one it was made for, whose sample line its picture shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "freetype_handle.h"

namespace pellory::mkcatalogue {

struct CoveredScript {
  std::string name;     // as the description names it: "Arabic"
  std::string isoCode;  // ISO 15924, for the shaper: "Arab"
  int letters = 0;      // letters of the script the face maps
  // Our line of text in the script (UTF-8), empty where we have none.
  std::string sample;
  // The first letters of the script the face maps, in code order.
  std::string letterRun;
};

struct FaceCoverage {
  // Characters mapped through the face's Unicode character map.
  int mapped = 0;
  // Of those, symbols (Unicode categories So and Sm) and private-use
  // characters: what icon, dingbat, emoji and symbol faces are made of.
  int symbols = 0;
  int latinCapitals = 0, latinSmallLetters = 0;
  // Covered scripts, the face's main script first; empty: no letters.
  std::vector<CoveredScript> scripts;
  // Whether one of the scripts is other than Greek, which symbol faces
  // carry for formulas.
  bool setsText = false;

  bool MainIsLatin() const { return !scripts.empty() && scripts.front().isoCode == "Latn"; }
  bool Covers(std::string_view isoCode) const;
  // "Arabic, Latin": the names, main script first.
  std::string ScriptNames() const;
};

// `family` decides between covered scripts where the face's name is made
// for one: "Noto Sans CJK JP" maps Latin, Han and kana but is Japanese.
FaceCoverage ReadFaceCoverage(FT_Face face, std::string_view family);

// Whether the family's name has one of the words, compared without case.
bool NameHasWord(std::string_view family, const std::vector<std::string_view>& words);

// The Latin sample line.
inline constexpr char kPangram[] = "Sphinx of black quartz, judge my vow";

// Whether the face maps every character of `text` (UTF-8) but spaces and
// joiners.
bool MapsAll(FT_Face face, std::string_view text);

// The text without the punctuation, digits and signs the face lacks (a
// face of capitals without a comma still sets the pangram); empty when
// it lacks a letter or a mark.
std::string DrawableText(FT_Face face, std::string_view text);

}  // namespace pellory::mkcatalogue
