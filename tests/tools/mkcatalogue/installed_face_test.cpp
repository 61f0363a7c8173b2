// The facts of installed Debian faces and the categories they give.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "font_category.h"
#include "shape_measures.h"

namespace pellory::mkcatalogue {
namespace {

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
  const FaceCoverage coverage = ReadFaceCoverage(face.get(), "DejaVu Serif");
  EXPECT_EQ(coverage.latinCapitals, 26);
  EXPECT_EQ(coverage.latinSmallLetters, 26);
  EXPECT_TRUE(coverage.MainIsLatin());
  EXPECT_TRUE(coverage.Covers("Cyrl"));
  EXPECT_TRUE(coverage.setsText);
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
  const FaceCoverage coverage = ReadFaceCoverage(face.get(), "D050000L");
  EXPECT_EQ(coverage.latinCapitals + coverage.latinSmallLetters, 0);
  EXPECT_TRUE(coverage.scripts.empty());
  EXPECT_FALSE(coverage.setsText);
}

}  // namespace
}  // namespace pellory::mkcatalogue
