// The catalogue category of a face, decided from measurements of the face's
// own data (see README.md for the rules).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
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

struct ShapeFacts {
  // OS/2 table: PANOSE family kind and serif style (0 when absent), the
  // high byte of the IBM family class (0 when absent).
  std::uint8_t panoseFamily = 0;
  std::uint8_t panoseSerif = 0;
  std::uint8_t familyClass = 0;
  // Letters A-Z and a-z the face maps through a Unicode character map, and
  // letters of a sample of other scripts' alphabets (Cyrillic, Hebrew,
  // Arabic, Thai, Devanagari, kana, Hangul, CJK ideographs). Greek is left
  // out: symbol faces carry it for formulas.
  int latinLettersMapped = 0;
  int otherLettersMapped = 0;
  // Degrees, negative leaning right, from the post table or the Type 1 info.
  double italicAngle = 0;
  bool italicStyleFlag = false;
  // Lowercase letters whose outline is the uppercase one, same or smaller.
  bool lowercaseAsCapitals = false;
  // From the outline of "H": feet wider than the stem; absent when the face
  // has no usable "H".
  std::optional<bool> measuredSerifs;
  // Lowercase letters that run into their neighbours, as in joined script.
  bool joinedLetters = false;
};

Category DecideCategory(const ShapeFacts& facts);

}  // namespace pellory::mkcatalogue
