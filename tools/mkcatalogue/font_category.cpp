#include "font_category.h"

#include <cmath>

#include "pellory/data/catalogue.h"

namespace pellory::mkcatalogue {
namespace {

constexpr std::uint8_t kPanoseLatinText = 2;
constexpr std::uint8_t kPanoseHandWritten = 3;
constexpr std::uint8_t kPanosePictorial = 5;
constexpr std::uint8_t kFamilyClassScripts = 10;
constexpr std::uint8_t kFamilyClassSymbolic = 12;
// Faces mapping fewer letters cannot set ordinary text.
constexpr int kLettersForText = 40;
constexpr double kItalicDegrees = 4.0;

// PANOSE serif styles 2-10 and 14 are serifs, 11-13 and 15 are sans.
std::optional<bool> PanoseSerifs(const ShapeFacts& f) {
  if (f.panoseFamily != kPanoseLatinText) return std::nullopt;
  if (f.panoseSerif >= 2 && f.panoseSerif <= 10) return true;
  if (f.panoseSerif == 14) return true;
  if (f.panoseSerif >= 11 && f.panoseSerif <= 15) return false;
  return std::nullopt;
}

bool HasSerifs(const ShapeFacts& f) {
  if (auto panose = PanoseSerifs(f)) return *panose;
  return f.measuredSerifs.value_or(false);
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

Category DecideCategory(const ShapeFacts& f) {
  const bool setsText =
      f.latinLettersMapped >= kLettersForText || f.otherLettersMapped >= kLettersForText;
  if (!setsText || f.panoseFamily == kPanosePictorial || f.familyClass == kFamilyClassSymbolic)
    return Category::Wingdings;
  if (f.panoseFamily == kPanoseHandWritten || f.familyClass == kFamilyClassScripts ||
      f.joinedLetters)
    return Category::Handwriting;
  const bool serifs = HasSerifs(f);
  if (f.lowercaseAsCapitals) return serifs ? Category::CapitalsSerif : Category::CapitalsSansSerif;
  if (f.italicStyleFlag || std::fabs(f.italicAngle) >= kItalicDegrees)
    return serifs ? Category::ItalicSerif : Category::ItalicSansSerif;
  return serifs ? Category::NormalSerif : Category::NormalSansSerif;
}

}  // namespace pellory::mkcatalogue
