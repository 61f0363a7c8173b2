// The category decision, from measurements alone, and from installed faces.
#include <gtest/gtest.h>

#include <filesystem>

#include "font_category.h"
#include "font_facts.h"

namespace pellory::mkcatalogue {
namespace {

ShapeFacts TextFace() {
  ShapeFacts f;
  f.latinLettersMapped = 52;
  return f;
}

struct RuleCase {
  const char* label;
  ShapeFacts facts;
  Category expected;
};

std::vector<RuleCase> RuleCases() {
  std::vector<RuleCase> cases;
  const auto add = [&](const char* label, auto change, Category expected) {
    ShapeFacts f = TextFace();
    change(f);
    cases.push_back({label, f, expected});
  };
  add(
      "PanoseSansUpright",
      [](ShapeFacts& f) {
        f.panoseFamily = 2;
        f.panoseSerif = 11;
      },
      Category::NormalSansSerif);
  add(
      "PanoseSerifUpright",
      [](ShapeFacts& f) {
        f.panoseFamily = 2;
        f.panoseSerif = 2;
      },
      Category::NormalSerif);
  add(
      "PanoseBeatsMeasurement",
      [](ShapeFacts& f) {
        f.panoseFamily = 2;
        f.panoseSerif = 11;
        f.measuredSerifs = true;
      },
      Category::NormalSansSerif);
  add(
      "NoPanoseMeasuredSerifs", [](ShapeFacts& f) { f.measuredSerifs = true; },
      Category::NormalSerif);
  add(
      "PanoseAnySerifMeasured",
      [](ShapeFacts& f) {
        f.panoseFamily = 2;
        f.panoseSerif = 0;
        f.measuredSerifs = true;
      },
      Category::NormalSerif);
  add(
      "NothingKnownIsSans", [](ShapeFacts&) {}, Category::NormalSansSerif);
  add(
      "ItalicByAngle", [](ShapeFacts& f) { f.italicAngle = -12; }, Category::ItalicSansSerif);
  add(
      "SmallAngleIsUpright", [](ShapeFacts& f) { f.italicAngle = -2; }, Category::NormalSansSerif);
  add(
      "ItalicByFlagSerif",
      [](ShapeFacts& f) {
        f.italicStyleFlag = true;
        f.measuredSerifs = true;
      },
      Category::ItalicSerif);
  add(
      "CapitalsSans",
      [](ShapeFacts& f) {
        f.lowercaseAsCapitals = true;
        f.italicAngle = -10;
      },
      Category::CapitalsSansSerif);
  add(
      "CapitalsSerif",
      [](ShapeFacts& f) {
        f.lowercaseAsCapitals = true;
        f.panoseFamily = 2;
        f.panoseSerif = 5;
      },
      Category::CapitalsSerif);
  add(
      "HandWrittenPanose",
      [](ShapeFacts& f) {
        f.panoseFamily = 3;
        f.italicStyleFlag = true;
      },
      Category::Handwriting);
  add(
      "ScriptFamilyClass", [](ShapeFacts& f) { f.familyClass = 10; }, Category::Handwriting);
  add(
      "JoinedLetters",
      [](ShapeFacts& f) {
        f.joinedLetters = true;
        f.measuredSerifs = true;
      },
      Category::Handwriting);
  add(
      "PictorialPanose", [](ShapeFacts& f) { f.panoseFamily = 5; }, Category::Wingdings);
  add(
      "SymbolicFamilyClass", [](ShapeFacts& f) { f.familyClass = 12; }, Category::Wingdings);
  add(
      "NoLetters", [](ShapeFacts& f) { f.latinLettersMapped = 0; }, Category::Wingdings);
  add(
      "FewLetters", [](ShapeFacts& f) { f.latinLettersMapped = 39; }, Category::Wingdings);
  add(
      "OtherScriptText",
      [](ShapeFacts& f) {
        f.latinLettersMapped = 0;
        f.otherLettersMapped = 300;
      },
      Category::NormalSansSerif);
  add(
      "SymbolsBeatHandwriting",
      [](ShapeFacts& f) {
        f.latinLettersMapped = 0;
        f.panoseFamily = 3;
      },
      Category::Wingdings);
  return cases;
}

class CategoryRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CategoryRuleTest, Decides) {
  EXPECT_EQ(CategoryText(DecideCategory(GetParam().facts)), CategoryText(GetParam().expected));
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

struct InstalledCase {
  const char* file;
  Category expected;
};

class InstalledFontTest : public ::testing::TestWithParam<InstalledCase> {};

TEST_P(InstalledFontTest, IsPutInItsCategory) {
  const std::filesystem::path file = GetParam().file;
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  std::string error;
  FontFace face = OpenFace(library.get(), file, 0, &error);
  ASSERT_TRUE(face) << error;
  const FontFacts facts = ReadFontFacts(face.get(), file, 0);
  EXPECT_EQ(CategoryText(DecideCategory(facts.shape)), CategoryText(GetParam().expected));
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
        InstalledCase{FONTS "opentype/urw-base35/D050000L.otf", Category::Wingdings},
        InstalledCase{FONTS "type1/urw-base35/D050000L.t1", Category::Wingdings},
        InstalledCase{FONTS "X11/Type1/D050000L.pfb", Category::Wingdings},
        InstalledCase{FONTS "opentype/urw-base35/StandardSymbolsPS.otf", Category::Wingdings},
        InstalledCase{FONTS "opentype/dancingscript/DancingScript-Regular.otf",
                      Category::Handwriting},
        InstalledCase{FONTS "opentype/dancingscript/DancingScript-Bold.otf", Category::Handwriting},
        // Type 1 faces have no PANOSE: serifs are measured on their outlines.
        InstalledCase{FONTS "X11/Type1/NimbusRoman-Regular.pfb", Category::NormalSerif},
        InstalledCase{FONTS "X11/Type1/NimbusSans-Italic.pfb", Category::ItalicSansSerif},
        InstalledCase{FONTS "X11/Type1/C059-Italic.pfb", Category::ItalicSerif},
        // Tight serifs touch in "mn" but the face is no script.
        InstalledCase{FONTS "X11/Type1/NimbusMonoPS-Bold.pfb", Category::NormalSerif},
        // A face for Chinese text maps no Latin letters, yet sets text.
        InstalledCase{FONTS "truetype/droid/DroidSansFallbackFull.ttf", Category::NormalSansSerif}),
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
  EXPECT_EQ(CountLatinLetters(face.get()), 52);
  EXPECT_FALSE(LowercaseDrawnAsCapitals(face.get()));
  EXPECT_EQ(MeasureSerifs(face.get()), std::optional<bool>(true));
  EXPECT_FALSE(LettersJoin(face.get()));
  const FontFacts facts = ReadFontFacts(face.get(), file, 0);
  EXPECT_EQ(facts.family, "DejaVu Serif");
  EXPECT_EQ(facts.style, "Book");
  EXPECT_EQ(facts.format, "TrueType");
  EXPECT_GT(facts.glyphs, 1000u);
  EXPECT_NE(facts.version.find("2."), std::string::npos);
}

}  // namespace
}  // namespace pellory::mkcatalogue
