#include "font_category.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "pellory/data/catalogue.h"

namespace pellory::mkcatalogue {
namespace {

constexpr std::uint8_t kPanoseLatinText = 2;
constexpr std::uint8_t kPanoseHandWritten = 3;
constexpr std::uint8_t kPanoseDecorative = 4;
constexpr std::uint8_t kPanosePictorial = 5;
constexpr std::uint8_t kRangeNoLowerCase = 4;
constexpr std::uint8_t kRangeSmallCaps = 5;
constexpr std::uint8_t kFamilyClassSansSerif = 8;
constexpr std::uint8_t kFamilyClassScripts = 10;
constexpr std::uint8_t kFamilyClassSymbolic = 12;
// Of the 26 capitals or small letters: fewer cannot set Latin text.
constexpr int kLettersForText = 20;
// Text faces have at most one such capital; Z003 has 9, Kristi 13.
constexpr int kSwashCapitalsForHand = 6;
constexpr double kItalicDegrees = 4.0;

bool SetsText(const ShapeFacts& f) {
  return std::max(f.capitalsMapped, f.smallLettersMapped) >= kLettersForText || f.coversOtherScript;
}

// Classes 1-5 and 7 are serif designs (oldstyle, transitional, modern,
// Clarendon, slab, freeform), 8 is sans serif.
std::optional<bool> FamilyClassSerifs(const ShapeFacts& f) {
  if ((f.familyClass >= 1 && f.familyClass <= 5) || f.familyClass == 7) return true;
  if (f.familyClass == kFamilyClassSansSerif) return false;
  return std::nullopt;
}

// PANOSE serif styles 2-10 and 14 are serifs, 11-13 and 15 are sans.
std::optional<bool> PanoseSerifs(const ShapeFacts& f) {
  if (f.panose[kPanoseFamilyKind] != kPanoseLatinText) return std::nullopt;
  const std::uint8_t style = f.panose[kPanoseSerifStyle];
  if ((style >= 2 && style <= 10) || style == 14) return true;
  if (style >= 11 && style <= 15) return false;
  return std::nullopt;
}

// A face whose tables call it a serif or sans serif text face is not
// second-guessed by the handwriting measurements.
bool DescribedAsText(const ShapeFacts& f) {
  return FamilyClassSerifs(f).has_value() || PanoseSerifs(f).has_value();
}

std::pair<bool, SerifRule> Serifs(const ShapeFacts& f) {
  // Noto Naskh Arabic carries Noto Sans's PANOSE.
  if (!f.latinMain && f.namedSerifs) return {*f.namedSerifs, SerifRule::Name};
  const auto byClass = FamilyClassSerifs(f);
  const auto byPanose = PanoseSerifs(f);
  if (byClass && byPanose && *byClass != *byPanose) {
    // Liberation Mono copies Courier New's PANOSE (thin serifs) but is
    // drawn without serifs, as its family class says: the outline decides.
    if (f.measuredSerifs) return {*f.measuredSerifs, SerifRule::MeasuredAsDataDisagree};
    return {*byClass, SerifRule::FamilyClass};
  }
  if (byClass) return {*byClass, SerifRule::FamilyClass};
  if (byPanose) return {*byPanose, SerifRule::Panose};
  if (f.namedSerifs) return {*f.namedSerifs, SerifRule::Name};
  if (f.measuredSerifs) return {*f.measuredSerifs, SerifRule::Measured};
  return {false, SerifRule::NothingKnown};
}

std::optional<CategoryRule> SymbolRule(const ShapeFacts& f) {
  if (f.panose[kPanoseFamilyKind] == kPanosePictorial) return CategoryRule::PanosePictorial;
  if (f.familyClass == kFamilyClassSymbolic) return CategoryRule::FamilyClassSymbolic;
  if (f.symbolCharacterMap) return CategoryRule::SymbolCharacterMap;
  if (!SetsText(f)) return CategoryRule::NoLetters;
  // Icon and symbol faces that also map an alphabet (Noto Sans Symbols,
  // Symbola): symbols are most of what they hold.
  if (2 * f.symbolCharacters > f.mappedCharacters) return CategoryRule::MostlySymbols;
  return std::nullopt;
}

std::optional<CategoryRule> HandwritingRule(const ShapeFacts& f) {
  if (f.panose[kPanoseFamilyKind] == kPanoseHandWritten) return CategoryRule::PanoseHandWritten;
  if (f.familyClass == kFamilyClassScripts) return CategoryRule::FamilyClassScripts;
  if (f.configuredCursive) return CategoryRule::ConfiguredCursive;
  if (DescribedAsText(f)) return std::nullopt;
  if (f.joinedLetters) return CategoryRule::JoinedLetters;
  if (f.swashCapitals >= kSwashCapitalsForHand) return CategoryRule::SwashCapitals;
  return std::nullopt;
}

std::optional<CategoryRule> CapitalsRule(const ShapeFacts& f) {
  const std::uint8_t range = f.panose[kPanoseCharacterRange];
  if (f.panose[kPanoseFamilyKind] == kPanoseDecorative &&
      (range == kRangeNoLowerCase || range == kRangeSmallCaps))
    return CategoryRule::PanoseCapitals;
  if (f.capitalsMapped >= kLettersForText && f.smallLettersMapped < kLettersForText)
    return CategoryRule::NoSmallLetters;
  if (f.smallLettersAsCapitals) return CategoryRule::SmallLettersAsCapitals;
  return std::nullopt;
}

std::string N(int n) {
  return std::to_string(n);
}

std::string RuleText(CategoryRule rule, const ShapeFacts& f) {
  switch (rule) {
    case CategoryRule::PanosePictorial:
      return "PANOSE family kind 5 (pictorial)";
    case CategoryRule::FamilyClassSymbolic:
      return "IBM family class 12 (symbolic)";
    case CategoryRule::SymbolCharacterMap:
      return "a symbol character map and no Unicode one";
    case CategoryRule::NoLetters:
      return "no letters of any script: " + N(f.capitalsMapped) + " Latin capitals, " +
             N(f.smallLettersMapped) + " small letters";
    case CategoryRule::MostlySymbols:
      return "mostly symbols: " + N(f.symbolCharacters) + " of " + N(f.mappedCharacters) +
             " characters";
    case CategoryRule::PanoseHandWritten:
      return "PANOSE family kind 3 (hand written)";
    case CategoryRule::FamilyClassScripts:
      return "IBM family class 10 (scripts)";
    case CategoryRule::ConfiguredCursive:
      return "fontconfig lists the family as cursive";
    case CategoryRule::JoinedLetters:
      return "its small letters join";
    case CategoryRule::SwashCapitals:
      return N(f.swashCapitals) + " capitals reach outside their letters (swashes)";
    case CategoryRule::PanoseCapitals:
      return f.panose[kPanoseCharacterRange] == kRangeSmallCaps
                 ? "PANOSE character range 5 (small capitals)"
                 : "PANOSE character range 4 (no lower case)";
    case CategoryRule::NoSmallLetters:
      return "no small letters: " + N(f.capitalsMapped) + " capitals, " + N(f.smallLettersMapped) +
             " small letters";
    case CategoryRule::SmallLettersAsCapitals:
      return "its small letters are drawn as capitals";
    case CategoryRule::ItalicStyleFlag:
      return "italic by its style flags";
    case CategoryRule::ItalicAngle: {
      char angle[32];
      std::snprintf(angle, sizeof angle, "%.1f", f.italicAngle);
      return std::string("italic angle ") + angle + " degrees";
    }
    case CategoryRule::Upright:
      return "upright";
  }
  return {};
}

std::string SerifText(SerifRule rule, bool serifs, const ShapeFacts& f) {
  const std::string side = serifs ? "serifs" : "sans serif";
  switch (rule) {
    case SerifRule::NotAsked:
      return {};
    case SerifRule::FamilyClass:
      return side + " by IBM family class " + N(f.familyClass);
    case SerifRule::Panose:
      return side + " by PANOSE serif style " + N(f.panose[kPanoseSerifStyle]);
    case SerifRule::Name:
      return side + " by the family's name";
    case SerifRule::Measured:
      return side + " measured on \"H\"";
    case SerifRule::MeasuredAsDataDisagree:
      return side + " measured on \"H\", as IBM family class " + N(f.familyClass) +
             " and PANOSE serif style " + N(f.panose[kPanoseSerifStyle]) + " disagree";
    case SerifRule::NothingKnown:
      return "sans serif, as nothing tells of serifs";
  }
  return {};
}

bool IsSerifCategory(Category c) {
  return c == Category::CapitalsSerif || c == Category::ItalicSerif || c == Category::NormalSerif;
}

}  // namespace

// The categories are declared in the order of the catalogue's definition.
static_assert(kAllCategories.size() == data::kCatalogueCategories.size());

std::string_view CategoryText(Category category) {
  return data::kCatalogueCategories[static_cast<std::size_t>(category)].stored;
}

std::optional<Category> CategoryFromText(std::string_view text) {
  for (Category c : kAllCategories)
    if (CategoryText(c) == text) return c;
  return std::nullopt;
}

CategoryDecision DecideCategory(const ShapeFacts& f) {
  if (auto rule = SymbolRule(f)) return {Category::Wingdings, *rule, SerifRule::NotAsked};
  if (auto rule = HandwritingRule(f)) return {Category::Handwriting, *rule, SerifRule::NotAsked};
  const auto [serifs, serifRule] = Serifs(f);
  if (auto rule = CapitalsRule(f))
    return {serifs ? Category::CapitalsSerif : Category::CapitalsSansSerif, *rule, serifRule};
  const Category italic = serifs ? Category::ItalicSerif : Category::ItalicSansSerif;
  if (f.italicStyleFlag) return {italic, CategoryRule::ItalicStyleFlag, serifRule};
  if (std::fabs(f.italicAngle) >= kItalicDegrees && (f.latinMain || f.namedSlanted))
    return {italic, CategoryRule::ItalicAngle, serifRule};
  return {serifs ? Category::NormalSerif : Category::NormalSansSerif, CategoryRule::Upright,
          serifRule};
}

std::string ExplainDecision(const CategoryDecision& d, const ShapeFacts& f) {
  std::string text = RuleText(d.rule, f);
  const std::string serifs = SerifText(d.serifs, IsSerifCategory(d.category), f);
  if (!serifs.empty()) text += "; " + serifs;
  return text;
}

}  // namespace pellory::mkcatalogue
