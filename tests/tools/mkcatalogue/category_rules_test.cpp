// The category decision, from the facts of a face.
#include <gtest/gtest.h>

#include "font_category.h"

namespace pellory::mkcatalogue {
namespace {

ShapeFacts TextFace() {
  ShapeFacts f;
  f.capitalsMapped = 26;
  f.smallLettersMapped = 26;
  return f;
}

using Rule = CategoryRule;
using Serif = SerifRule;

struct RuleCase {
  const char* label;
  ShapeFacts facts;
  Category category;
  Rule rule;
  Serif serifs;
};

std::vector<RuleCase> RuleCases() {
  std::vector<RuleCase> cases;
  const auto add = [&](const char* label, auto change, Category category, Rule rule,
                       Serif serifs = Serif::NotAsked) {
    ShapeFacts f = TextFace();
    change(f);
    cases.push_back({label, f, category, rule, serifs});
  };
  const auto panose = [](ShapeFacts& f, std::uint8_t kind, std::uint8_t serif) {
    f.panose[kPanoseFamilyKind] = kind;
    f.panose[kPanoseSerifStyle] = serif;
  };
  // Serifs: the family class and PANOSE first, the outline when they are
  // silent or disagree.
  add(
      "PanoseSans", [&](ShapeFacts& f) { panose(f, 2, 11); }, Category::NormalSansSerif,
      Rule::Upright, Serif::Panose);
  add(
      "PanoseSerif", [&](ShapeFacts& f) { panose(f, 2, 2); }, Category::NormalSerif, Rule::Upright,
      Serif::Panose);
  add(
      "PanoseBeatsMeasurement",
      [&](ShapeFacts& f) {
        panose(f, 2, 11);
        f.measuredSerifs = true;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::Panose);
  add(
      "FamilyClassSerif",
      [](ShapeFacts& f) {
        f.familyClass = 1;
        f.measuredSerifs = false;
      },
      Category::NormalSerif, Rule::Upright, Serif::FamilyClass);
  add(
      "FamilyClassSans", [](ShapeFacts& f) { f.familyClass = 8; }, Category::NormalSansSerif,
      Rule::Upright, Serif::FamilyClass);
  add(
      "ClassAndPanoseAgree",
      [&](ShapeFacts& f) {
        f.familyClass = 5;
        panose(f, 2, 6);
        f.measuredSerifs = false;
      },
      Category::NormalSerif, Rule::Upright, Serif::FamilyClass);
  add(
      "DisagreementMeasured",
      [&](ShapeFacts& f) {
        f.familyClass = 8;
        panose(f, 2, 7);
        f.measuredSerifs = false;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::MeasuredAsDataDisagree);
  add(
      "DisagreementMeasuredSerif",
      [&](ShapeFacts& f) {
        f.familyClass = 8;
        panose(f, 2, 7);
        f.measuredSerifs = true;
      },
      Category::NormalSerif, Rule::Upright, Serif::MeasuredAsDataDisagree);
  add(
      "DisagreementUnmeasuredTakesClass",
      [&](ShapeFacts& f) {
        f.familyClass = 8;
        panose(f, 2, 7);
      },
      Category::NormalSansSerif, Rule::Upright, Serif::FamilyClass);
  add(
      "NoDataMeasuredSerifs", [](ShapeFacts& f) { f.measuredSerifs = true; }, Category::NormalSerif,
      Rule::Upright, Serif::Measured);
  add(
      "PanoseAnySerifMeasured",
      [&](ShapeFacts& f) {
        panose(f, 2, 0);
        f.measuredSerifs = true;
      },
      Category::NormalSerif, Rule::Upright, Serif::Measured);
  add(
      "NothingKnownIsSans", [](ShapeFacts&) {}, Category::NormalSansSerif, Rule::Upright,
      Serif::NothingKnown);
  // Slant.
  add(
      "ItalicByAngle", [](ShapeFacts& f) { f.italicAngle = -12; }, Category::ItalicSansSerif,
      Rule::ItalicAngle, Serif::NothingKnown);
  // A script that leans by nature (Noto Sans Elymaic) is no italic unless
  // its name says so (Noto Serif Tamil Slanted).
  add(
      "OtherScriptsAngleAloneIsUpright",
      [](ShapeFacts& f) {
        f.latinMain = false;
        f.italicAngle = -5;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::NothingKnown);
  add(
      "OtherScriptNamedSlantedByAngle",
      [](ShapeFacts& f) {
        f.latinMain = false;
        f.namedSlanted = true;
        f.italicAngle = -12;
      },
      Category::ItalicSansSerif, Rule::ItalicAngle, Serif::NothingKnown);
  add(
      "SmallAngleIsUpright", [](ShapeFacts& f) { f.italicAngle = -3.9; }, Category::NormalSansSerif,
      Rule::Upright, Serif::NothingKnown);
  add(
      "ItalicByFlagSerif",
      [](ShapeFacts& f) {
        f.italicStyleFlag = true;
        f.measuredSerifs = true;
      },
      Category::ItalicSerif, Rule::ItalicStyleFlag, Serif::Measured);
  // Capitals, before the slant.
  add(
      "SmallCapitalsSlanted",
      [](ShapeFacts& f) {
        f.smallLettersAsCapitals = true;
        f.italicAngle = -10;
      },
      Category::CapitalsSansSerif, Rule::SmallLettersAsCapitals, Serif::NothingKnown);
  add(
      "SmallCapitalsSerif",
      [&](ShapeFacts& f) {
        f.smallLettersAsCapitals = true;
        panose(f, 2, 5);
      },
      Category::CapitalsSerif, Rule::SmallLettersAsCapitals, Serif::Panose);
  add(
      "NoSmallLetters",
      [](ShapeFacts& f) {
        f.smallLettersMapped = 0;
        f.familyClass = 1;
      },
      Category::CapitalsSerif, Rule::NoSmallLetters, Serif::FamilyClass);
  add(
      "FewSmallLetters", [](ShapeFacts& f) { f.smallLettersMapped = 19; },
      Category::CapitalsSansSerif, Rule::NoSmallLetters, Serif::NothingKnown);
  add(
      "EnoughSmallLetters", [](ShapeFacts& f) { f.smallLettersMapped = 20; },
      Category::NormalSansSerif, Rule::Upright, Serif::NothingKnown);
  add(
      "PanoseNoLowerCase",
      [](ShapeFacts& f) {
        f.panose = {4, 0, 0, 0, 0, 0, 0, 0, 0, 4};
        f.measuredSerifs = true;
      },
      Category::CapitalsSerif, Rule::PanoseCapitals, Serif::Measured);
  add(
      "PanoseSmallCaps", [](ShapeFacts& f) { f.panose = {4, 0, 0, 0, 0, 0, 0, 0, 0, 5}; },
      Category::CapitalsSansSerif, Rule::PanoseCapitals, Serif::NothingKnown);
  add(
      "PanoseRangeOnlyForDecorative",
      [](ShapeFacts& f) { f.panose = {2, 11, 0, 0, 0, 0, 0, 0, 0, 5}; }, Category::NormalSansSerif,
      Rule::Upright, Serif::Panose);
  // Handwriting.
  add(
      "HandWrittenPanose",
      [&](ShapeFacts& f) {
        panose(f, 3, 0);
        f.italicStyleFlag = true;
      },
      Category::Handwriting, Rule::PanoseHandWritten);
  add(
      "ScriptFamilyClass", [](ShapeFacts& f) { f.familyClass = 10; }, Category::Handwriting,
      Rule::FamilyClassScripts);
  add(
      "CursiveInFontconfig",
      [](ShapeFacts& f) {
        f.configuredCursive = true;
        f.italicStyleFlag = true;
      },
      Category::Handwriting, Rule::ConfiguredCursive);
  add(
      "CursiveInFontconfigOverTextPanose",
      [&](ShapeFacts& f) {
        f.configuredCursive = true;
        panose(f, 2, 11);
      },
      Category::Handwriting, Rule::ConfiguredCursive);
  add(
      "JoinedLetters",
      [](ShapeFacts& f) {
        f.joinedLetters = true;
        f.measuredSerifs = true;
      },
      Category::Handwriting, Rule::JoinedLetters);
  add(
      "SwashCapitals",
      [&](ShapeFacts& f) {
        f.swashCapitals = 6;
        f.italicStyleFlag = true;
        panose(f, 2, 0);  // a text face, but of unknown serifs: measured
      },
      Category::Handwriting, Rule::SwashCapitals);
  add(
      "FewSwashCapitals",
      [](ShapeFacts& f) {
        f.swashCapitals = 5;
        f.italicStyleFlag = true;
      },
      Category::ItalicSansSerif, Rule::ItalicStyleFlag, Serif::NothingKnown);
  add(
      "TextPanoseSilencesMeasurements",
      [&](ShapeFacts& f) {
        f.swashCapitals = 20;
        f.joinedLetters = true;
        panose(f, 2, 2);
      },
      Category::NormalSerif, Rule::Upright, Serif::Panose);
  add(
      "TextFamilyClassSilencesMeasurements",
      [](ShapeFacts& f) {
        f.swashCapitals = 20;
        f.joinedLetters = true;
        f.familyClass = 8;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::FamilyClass);
  add(
      "HandwritingBeatsCapitals",
      [&](ShapeFacts& f) {
        panose(f, 3, 0);
        f.smallLettersMapped = 0;
      },
      Category::Handwriting, Rule::PanoseHandWritten);
  // Symbols, before everything.
  add(
      "PictorialPanose", [&](ShapeFacts& f) { panose(f, 5, 0); }, Category::Wingdings,
      Rule::PanosePictorial);
  add(
      "SymbolicFamilyClass", [](ShapeFacts& f) { f.familyClass = 12; }, Category::Wingdings,
      Rule::FamilyClassSymbolic);
  add(
      "SymbolCharacterMap", [](ShapeFacts& f) { f.symbolCharacterMap = true; }, Category::Wingdings,
      Rule::SymbolCharacterMap);
  add(
      "NoLetters",
      [](ShapeFacts& f) {
        f.capitalsMapped = 0;
        f.smallLettersMapped = 0;
      },
      Category::Wingdings, Rule::NoLetters);
  add(
      "FewLetters",
      [](ShapeFacts& f) {
        f.capitalsMapped = 19;
        f.smallLettersMapped = 19;
      },
      Category::Wingdings, Rule::NoLetters);
  add(
      "OtherScriptText",
      [](ShapeFacts& f) {
        f.capitalsMapped = 0;
        f.smallLettersMapped = 0;
        f.coversOtherScript = true;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::NothingKnown);
  add(
      "OtherScriptNamedSerif",
      [](ShapeFacts& f) {
        f.capitalsMapped = 0;
        f.smallLettersMapped = 0;
        f.coversOtherScript = true;
        f.namedSerifs = true;
      },
      Category::NormalSerif, Rule::Upright, Serif::Name);
  add(
      "PanoseBeatsName",
      [&](ShapeFacts& f) {
        panose(f, 2, 11);
        f.namedSerifs = true;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::Panose);
  add(
      "NameBeatsPanoseForOtherScripts",
      [&](ShapeFacts& f) {
        panose(f, 2, 11);
        f.latinMain = false;
        f.namedSerifs = true;
      },
      Category::NormalSerif, Rule::Upright, Serif::Name);
  add(
      "NameBeatsMeasurement",
      [](ShapeFacts& f) {
        f.namedSerifs = false;
        f.measuredSerifs = true;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::Name);
  add(
      "MostlySymbols",
      [](ShapeFacts& f) {
        f.mappedCharacters = 838;
        f.symbolCharacters = 568;
      },
      Category::Wingdings, Rule::MostlySymbols);
  add(
      "SomeSymbols",
      [](ShapeFacts& f) {
        f.mappedCharacters = 5918;
        f.symbolCharacters = 1549;
      },
      Category::NormalSansSerif, Rule::Upright, Serif::NothingKnown);
  add(
      "SymbolsBeatHandwriting",
      [&](ShapeFacts& f) {
        f.symbolCharacterMap = true;
        panose(f, 3, 0);
      },
      Category::Wingdings, Rule::SymbolCharacterMap);
  return cases;
}

void PrintTo(const RuleCase& c, std::ostream* os) {
  *os << c.label;
}

class CategoryRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CategoryRuleTest, DecidesByTheFirstRuleThatHolds) {
  const CategoryDecision d = DecideCategory(GetParam().facts);
  EXPECT_EQ(CategoryText(d.category), CategoryText(GetParam().category));
  EXPECT_EQ(static_cast<int>(d.rule), static_cast<int>(GetParam().rule))
      << ExplainDecision(d, GetParam().facts);
  EXPECT_EQ(static_cast<int>(d.serifs), static_cast<int>(GetParam().serifs))
      << ExplainDecision(d, GetParam().facts);
}

INSTANTIATE_TEST_SUITE_P(Rules, CategoryRuleTest, ::testing::ValuesIn(RuleCases()),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(CategoryTextTest, EveryCategoryHasItsColumnTextAndBack) {
  const char* expected[] = {
      "Capitals Serif", "Capitals Sans Serif", "Handwriting",       "Italic Sans Serif",
      "Italic Serif",   "Normal Serif",        "Normal Sans Serif", "Wingdings"};
  for (std::size_t i = 0; i < kAllCategories.size(); ++i) {
    EXPECT_EQ(CategoryText(kAllCategories[i]), expected[i]);
    EXPECT_EQ(CategoryFromText(expected[i]), kAllCategories[i]);
  }
  EXPECT_FALSE(CategoryFromText("Wing").has_value());
}

TEST(ExplainDecisionTest, NamesTheRulesAndTheFactsTheyRead) {
  ShapeFacts f = TextFace();
  f.familyClass = 8;
  f.panose[kPanoseFamilyKind] = 2;
  f.panose[kPanoseSerifStyle] = 7;
  f.measuredSerifs = false;
  f.italicAngle = -12.34;
  EXPECT_EQ(ExplainDecision(DecideCategory(f), f),
            "italic angle -12.3 degrees; sans serif measured on \"H\", as IBM family class 8 and "
            "PANOSE serif style 7 disagree");
  f = TextFace();
  f.swashCapitals = 9;
  EXPECT_EQ(ExplainDecision(DecideCategory(f), f),
            "9 capitals reach outside their letters (swashes)");
  f = TextFace();
  f.capitalsMapped = 3;
  f.smallLettersMapped = 0;
  EXPECT_EQ(ExplainDecision(DecideCategory(f), f),
            "no letters of any script: 3 Latin capitals, 0 small letters");
  f = TextFace();
  f.mappedCharacters = 100;
  f.symbolCharacters = 51;
  EXPECT_EQ(ExplainDecision(DecideCategory(f), f), "mostly symbols: 51 of 100 characters");
  f = TextFace();
  f.namedSerifs = true;
  EXPECT_EQ(ExplainDecision(DecideCategory(f), f), "upright; serifs by the family's name");
}

}  // namespace
}  // namespace pellory::mkcatalogue
