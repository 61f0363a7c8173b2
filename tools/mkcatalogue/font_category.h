// The catalogue category of a face: decided from what the face says about
// itself first, then from measurements of its letters (see README.md for
// the rules and the fonts that show them).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellory::mkcatalogue {

enum class Category {
  CapitalsSerif,
  CapitalsSansSerif,
  Handwriting,
  ItalicSansSerif,
  ItalicSerif,
  NormalSerif,
  NormalSansSerif,
  Wingdings,
};

inline constexpr std::array kAllCategories = {
    Category::CapitalsSerif,   Category::CapitalsSansSerif, Category::Handwriting,
    Category::ItalicSansSerif, Category::ItalicSerif,       Category::NormalSerif,
    Category::NormalSansSerif, Category::Wingdings};

// The text stored in the Category column.
std::string_view CategoryText(Category category);
std::optional<Category> CategoryFromText(std::string_view text);

// Positions in the OS/2 table's ten PANOSE digits.
inline constexpr int kPanoseFamilyKind = 0;
inline constexpr int kPanoseSerifStyle = 1;
// For decorative faces (family kind 4) the last digit is the character range.
inline constexpr int kPanoseCharacterRange = 9;

struct ShapeFacts {
  // OS/2 table: the PANOSE digits (all 0 when absent) and the high byte of
  // the IBM family class (0 when absent).
  std::array<std::uint8_t, 10> panose{};
  std::uint8_t familyClass = 0;
  // The face has a Microsoft symbol character map and no Unicode one.
  bool symbolCharacterMap = false;
  // Capitals A-Z and small letters a-z mapped through a Unicode character
  // map, and whether the face covers the letters of a script other than
  // Latin and Greek (symbol faces carry Greek for formulas).
  int capitalsMapped = 0;
  int smallLettersMapped = 0;
  bool coversOtherScript = false;
  // Characters mapped through the Unicode character map, and of those the
  // symbols, pictographs and private-use characters.
  int mappedCharacters = 0;
  int symbolCharacters = 0;
  // Whether Latin is the script the face was made for. PANOSE and the
  // family class describe Latin letters: for a face made for another
  // script, its name speaks first.
  bool latinMain = true;
  // Serifs or none as the family's name says ("Sans", "Serif", "Naskh",
  // "Kufi", "Mincho", "Gothic", ...); absent when it says neither.
  std::optional<bool> namedSerifs;
  // Degrees, negative leaning right, from the post table or the Type 1 info.
  double italicAngle = 0;
  // The face's family or style name says it leans ("Italic", "Oblique",
  // "Slanted"): for a script other than Latin the angle alone does not
  // tell, as some lean by nature (Noto Sans Elymaic, -5 degrees).
  bool namedSlanted = false;
  bool italicStyleFlag = false;
  // Small letters drawn as the capitals: the same glyphs, or small capitals.
  bool smallLettersAsCapitals = false;
  // From the outline of "H": feet wider than the stem; absent when the face
  // has no usable "H".
  std::optional<bool> measuredSerifs;
  // Small letters that run into their neighbours, as in joined script.
  bool joinedLetters = false;
  // Capitals (J and Q left out) whose strokes reach well outside the
  // letter: right of its advance once the slant is taken out, or below the
  // baseline, as the swashes of a chancery hand do.
  int swashCapitals = 0;
  // fontconfig's configuration lists the family among its cursive ones.
  bool configuredCursive = false;
};

// Why a face got its category: the first rule that held.
enum class CategoryRule {
  PanosePictorial,
  FamilyClassSymbolic,
  SymbolCharacterMap,
  NoLetters,
  MostlySymbols,
  PanoseHandWritten,
  FamilyClassScripts,
  ConfiguredCursive,
  JoinedLetters,
  SwashCapitals,
  PanoseCapitals,
  NoSmallLetters,
  SmallLettersAsCapitals,
  ItalicStyleFlag,
  ItalicAngle,
  Upright,
};

// Why a face counts as serif or sans serif (not asked for Wingdings and
// Handwriting).
enum class SerifRule {
  NotAsked,
  FamilyClass,
  Panose,
  Name,
  Measured,
  MeasuredAsDataDisagree,
  NothingKnown,
};

struct CategoryDecision {
  Category category = Category::NormalSansSerif;
  CategoryRule rule = CategoryRule::Upright;
  SerifRule serifs = SerifRule::NotAsked;
};

CategoryDecision DecideCategory(const ShapeFacts& facts);

// One line for the report: the rules behind the decision with the facts
// they read, e.g. "PANOSE family kind 3 (hand written)".
std::string ExplainDecision(const CategoryDecision& decision, const ShapeFacts& facts);

}  // namespace pellory::mkcatalogue
