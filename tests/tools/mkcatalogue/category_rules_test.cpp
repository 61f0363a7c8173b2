// The category decision, from measurements alone, and from installed faces.
#include <gtest/gtest.h>

#include <filesystem>

#include "font_category.h"
#include "shape_measures.h"

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
        f.otherLettersMapped = 300;
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
  f.otherLettersMapped = 12;
  EXPECT_EQ(ExplainDecision(DecideCategory(f), f),
            "no alphabet: 3 capitals, 0 small letters, 12 other letters");
}

struct InstalledCase {
  const char* file;
  Category expected;
};

void PrintTo(const InstalledCase& c, std::ostream* os) {
  *os << c.file;
}

class InstalledFontTest : public ::testing::TestWithParam<InstalledCase> {};

// The face's own data and measurements, without fontconfig's word.
TEST_P(InstalledFontTest, IsPutInItsCategory) {
  const std::filesystem::path file = GetParam().file;
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  std::string error;
  FontFace face = OpenFace(library.get(), file, 0, &error);
  ASSERT_TRUE(face) << error;
  const ShapeFacts facts = ReadShapeFacts(face.get());
  const CategoryDecision decision = DecideCategory(facts);
  EXPECT_EQ(CategoryText(decision.category), CategoryText(GetParam().expected))
      << ExplainDecision(decision, facts);
}

#define FONTS "/usr/share/fonts/"
INSTANTIATE_TEST_SUITE_P(
    Debian, InstalledFontTest,
    ::testing::Values(
        InstalledCase{FONTS "truetype/dejavu/DejaVuSerif.ttf", Category::NormalSerif},
        InstalledCase{FONTS "truetype/dejavu/DejaVuSerif-Italic.ttf", Category::ItalicSerif},
        InstalledCase{FONTS "truetype/dejavu/DejaVuSans.ttf", Category::NormalSansSerif},
        InstalledCase{FONTS "truetype/dejavu/DejaVuSans-BoldOblique.ttf",
                      Category::ItalicSansSerif},
        InstalledCase{FONTS "truetype/dejavu/DejaVuSansMono.ttf", Category::NormalSansSerif},
        InstalledCase{FONTS "truetype/liberation/LiberationSans-Italic.ttf",
                      Category::ItalicSansSerif},
        InstalledCase{FONTS "truetype/liberation/LiberationSerif-Regular.ttf",
                      Category::NormalSerif},
        InstalledCase{FONTS "truetype/liberation/LiberationSerif-BoldItalic.ttf",
                      Category::ItalicSerif},
        // PANOSE says thin serifs, the family class sans serif; the outline
        // has none.
        InstalledCase{FONTS "truetype/liberation/LiberationMono-Regular.ttf",
                      Category::NormalSansSerif},
        InstalledCase{FONTS "opentype/urw-base35/D050000L.otf", Category::Wingdings},
        InstalledCase{FONTS "type1/urw-base35/D050000L.t1", Category::Wingdings},
        InstalledCase{FONTS "X11/Type1/D050000L.pfb", Category::Wingdings},
        InstalledCase{FONTS "opentype/urw-base35/StandardSymbolsPS.otf", Category::Wingdings},
        InstalledCase{FONTS "type1/urw-base35/StandardSymbolsPS.t1", Category::Wingdings},
        InstalledCase{FONTS "opentype/dancingscript/DancingScript-Regular.otf",
                      Category::Handwriting},
        InstalledCase{FONTS "opentype/dancingscript/DancingScript-Bold.otf", Category::Handwriting},
        // A chancery hand without PANOSE or family class: its swash capitals.
        InstalledCase{FONTS "opentype/urw-base35/Z003-MediumItalic.otf", Category::Handwriting},
        InstalledCase{FONTS "type1/urw-base35/Z003-MediumItalic.t1", Category::Handwriting},
        // Type 1 faces have no PANOSE: serifs are measured on their outlines.
        InstalledCase{FONTS "X11/Type1/NimbusRoman-Regular.pfb", Category::NormalSerif},
        InstalledCase{FONTS "X11/Type1/NimbusSans-Italic.pfb", Category::ItalicSansSerif},
        InstalledCase{FONTS "X11/Type1/C059-Italic.pfb", Category::ItalicSerif},
        InstalledCase{FONTS "opentype/urw-base35/URWBookman-LightItalic.otf",
                      Category::ItalicSerif},
        InstalledCase{FONTS "opentype/urw-base35/P052-Italic.otf", Category::ItalicSerif},
        // Tight serifs touch in "mn" but the face is no script.
        InstalledCase{FONTS "X11/Type1/NimbusMonoPS-Bold.pfb", Category::NormalSerif},
        // A face for Chinese text maps no Latin letters, yet sets text.
        InstalledCase{FONTS "truetype/droid/DroidSansFallbackFull.ttf", Category::NormalSansSerif},
        // Capitals faces of other Debian packages, where installed: small
        // capitals (fonts-lmodern) and initials without small letters
        // (fonts-linuxlibertine).
        InstalledCase{"/usr/share/texmf/fonts/opentype/public/lm/lmromancaps10-regular.otf",
                      Category::CapitalsSerif},
        InstalledCase{"/usr/share/texmf/fonts/opentype/public/lm/lmromancaps10-oblique.otf",
                      Category::CapitalsSerif},
        InstalledCase{FONTS "opentype/linux-libertine/LinLibertine_I.otf", Category::CapitalsSerif},
        InstalledCase{"/usr/share/texmf/fonts/opentype/public/lm/lmroman10-italic.otf",
                      Category::ItalicSerif}),
    [](const auto& p) {
      std::string name = std::filesystem::path(p.param.file).filename().string();
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

struct MeasureCase {
  const char* file;
  bool smallCapitals;
  int minSwashes, maxSwashes;
};

void PrintTo(const MeasureCase& c, std::ostream* os) {
  *os << c.file;
}

class FaceMeasurementTest : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(FaceMeasurementTest, SmallCapitalsAndSwashes) {
  const std::filesystem::path file = GetParam().file;
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  FontFace face = OpenFace(library.get(), file, 0, nullptr);
  ASSERT_TRUE(face);
  const ShapeFacts facts = ReadShapeFacts(face.get());
  EXPECT_EQ(SmallLettersDrawnAsCapitals(face.get()), GetParam().smallCapitals);
  const int swashes = CountSwashCapitals(face.get(), facts.italicAngle);
  EXPECT_GE(swashes, GetParam().minSwashes);
  EXPECT_LE(swashes, GetParam().maxSwashes);
}

INSTANTIATE_TEST_SUITE_P(
    Debian, FaceMeasurementTest,
    ::testing::Values(
        // Z003 has 9 swash capitals; italic text faces lean far right of
        // their advance until the slant is taken out.
        MeasureCase{FONTS "opentype/urw-base35/Z003-MediumItalic.otf", false, 8, 24},
        MeasureCase{FONTS "opentype/urw-base35/NimbusSans-BoldItalic.otf", false, 0, 1},
        MeasureCase{FONTS "opentype/urw-base35/URWBookman-DemiItalic.otf", false, 0, 1},
        MeasureCase{FONTS "truetype/liberation/LiberationSerif-Italic.ttf", false, 0, 1},
        MeasureCase{FONTS "truetype/dejavu/DejaVuSans-Bold.ttf", false, 0, 1},
        MeasureCase{FONTS "truetype/dejavu/DejaVuSansMono-Bold.ttf", false, 0, 1},
        MeasureCase{"/usr/share/texmf/fonts/opentype/public/lm/lmromancaps10-regular.otf", true, 0,
                    1},
        MeasureCase{"/usr/share/texmf/fonts/opentype/public/lm/lmmonocaps10-oblique.otf", true, 0,
                    1}),
    [](const auto& p) {
      std::string name = std::filesystem::path(p.param.file).filename().string();
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(FaceMeasurementTest, TextFaceMeasures) {
  const std::filesystem::path file = FONTS "truetype/dejavu/DejaVuSerif.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  FontFace face = OpenFace(library.get(), file, 0, nullptr);
  ASSERT_TRUE(face);
  const LetterCounts letters = CountLetters(face.get());
  EXPECT_EQ(letters.capitals, 26);
  EXPECT_EQ(letters.smallLetters, 26);
  EXPECT_GE(letters.otherLetters, 64);  // the Cyrillic alphabet
  EXPECT_FALSE(HasOnlySymbolMap(face.get()));
  EXPECT_EQ(MeasureSerifs(face.get()), std::optional<bool>(true));
  EXPECT_FALSE(LettersJoin(face.get()));
  const ShapeFacts facts = ReadShapeFacts(face.get());
  EXPECT_EQ(facts.panose[kPanoseFamilyKind], 2);
  EXPECT_EQ(facts.panose[kPanoseSerifStyle], 6);
}

TEST(FaceMeasurementTest, DingbatsMapNoLetters) {
  const std::filesystem::path file = FONTS "X11/Type1/D050000L.pfb";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  FontFace face = OpenFace(library.get(), file, 0, nullptr);
  ASSERT_TRUE(face);
  const LetterCounts letters = CountLetters(face.get());
  EXPECT_EQ(letters.capitals + letters.smallLetters + letters.otherLetters, 0);
}

}  // namespace
}  // namespace pellory::mkcatalogue
