// Faces made for the world's scripts, from Debian's Noto packages: their
// category, the script their sample shows, and the sample as HarfBuzz
// shapes it.
#include <gtest/gtest.h>
#include <hb-ft.h>
#include <hb.h>

#include <cctype>
#include <filesystem>
#include <set>

#include "font_facts.h"
#include "glyph_raster.h"
#include "sample_picture.h"
#include "shape_measures.h"

namespace pellory::mkcatalogue {
namespace {

enum Check : unsigned {
  kNone = 0,
  kJoinedRightToLeft = 1,  // Arabic: joined forms, laid out right to left
  kConjuncts = 2,          // Devanagari: every virama forms a conjunct
  kLatinLine = 4,          // a third line with the Latin pangram
  kNameInFace = 8,         // the name line drawn in the face itself
};

struct ScriptCase {
  const char* file;
  int faceIndex;
  Category category;
  const char* mainScript;   // ISO 15924; null for a symbol face
  const char* sampleStart;  // the start of the sample line
  unsigned checks;
};

void PrintTo(const ScriptCase& c, std::ostream* os) {
  *os << c.file << " face " << c.faceIndex;
}

#define NOTO "/usr/share/fonts/truetype/noto/"
const ScriptCase kScriptCases[] = {
    {NOTO "NotoSansArabic-Regular.ttf", 0, Category::NormalSansSerif, "Arab", "نص حكيم",
     kJoinedRightToLeft},
    {NOTO "NotoNaskhArabic-Regular.ttf", 0, Category::NormalSerif, "Arab", "نص حكيم",
     kJoinedRightToLeft},
    {NOTO "NotoSansHebrew-Regular.ttf", 0, Category::NormalSansSerif, "Hebr", "דג סקרן", kNone},
    {NOTO "NotoSansDevanagari-Regular.ttf", 0, Category::NormalSansSerif, "Deva", "सभी मनुष्य",
     kConjuncts},
    {NOTO "NotoSansThai-Regular.ttf", 0, Category::NormalSansSerif, "Thai", "เป็นมนุษย์", kNone},
    {NOTO "NotoSansArmenian-Regular.ttf", 0, Category::NormalSansSerif, "Armn", "Բոլոր", kNone},
    {NOTO "NotoSansGeorgian-Regular.ttf", 0, Category::NormalSansSerif, "Geor", "ყველა", kNone},
    {NOTO "NotoSansEthiopic-Regular.ttf", 0, Category::NormalSansSerif, "Ethi", "ሰላም", kNone},
    {NOTO "NotoSerifTamil-Regular.ttf", 0, Category::NormalSerif, "Taml", "மனிதப்", kNone},
    {NOTO "NotoSans-Regular.ttf", 0, Category::NormalSansSerif, "Latn", "Sphinx of", kNameInFace},
    // Face 2 of the collection is Noto Sans CJK SC.
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 2, Category::NormalSansSerif, "Hani",
     "我能吞下玻璃", kLatinLine | kNameInFace},
    // Lines of their own language, not runs of letters.
    {NOTO "NotoSansCherokee-Regular.ttf", 0, Category::NormalSansSerif, "Cher", "ᏣᎳᎩ", kNone},
    {NOTO "NotoSansSyriac-Regular.ttf", 0, Category::NormalSansSerif, "Syrc", "ܫܠܡܐ ܥܠܡܐ", kNone},
    {NOTO "NotoSansThaana-Regular.ttf", 0, Category::NormalSansSerif, "Thaa", "ދިވެހި", kNone},
    {NOTO "NotoSansNKo-Regular.ttf", 0, Category::NormalSansSerif, "Nkoo", "ߒߞߏ", kNone},
    {NOTO "NotoSansTifinagh-Regular.ttf", 0, Category::NormalSansSerif, "Tfng", "ⴰⵣⵓⵍ", kNone},
    {NOTO "NotoSansMongolian-Regular.ttf", 0, Category::NormalSansSerif, "Mong", "ᠮᠣᠩᠭᠣᠯ", kNone},
    // Nushu, not the Latin it also maps, by its name; a run of its letters.
    // Its Latin draws the name, and the pangram below.
    {NOTO "NotoTraditionalNushu-Regular.ttf", 0, Category::NormalSansSerif, "Nshu", "\U0001B170",
     kNameInFace | kLatinLine},
    // "Nastaliq" among the serif words, as "Naskh".
    {NOTO "NotoNastaliqUrdu-Regular.ttf", 0, Category::NormalSerif, "Arab", "نص حكيم",
     kJoinedRightToLeft},
    {NOTO "NotoSansSymbols-Regular.ttf", 0, Category::Wingdings, nullptr, nullptr, kNone},
    {NOTO "NotoSansSymbols2-Regular.ttf", 0, Category::Wingdings, nullptr, nullptr, kNone},
};

class ScriptSampleTest : public ::testing::TestWithParam<ScriptCase> {
 protected:
  void SetUp() override {
    library_ = OpenFreeType();
    if (!std::filesystem::exists(GetParam().file))
      GTEST_SKIP() << GetParam().file << " is not installed (Debian fonts-noto-core, -cjk)";
    face_ = OpenFace(library_.get(), GetParam().file, GetParam().faceIndex, nullptr);
    plain_ =
        OpenFace(library_.get(), "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, nullptr);
    ASSERT_TRUE(face_ && plain_);
    facts_ = ReadFontFacts(face_.get(), GetParam().file, GetParam().faceIndex);
    coverage_ = ReadFaceCoverage(face_.get(), facts_.family);
  }

  // The glyph each character of the text gets shaped alone.
  std::set<FT_UInt> IsolatedGlyphs(std::string_view text) {
    std::set<FT_UInt> glyphs;
    const std::u32string characters = DecodeUtf8(text);
    for (char32_t c : characters) {
      const std::u32string one(1, c);
      hb_buffer_t* buffer = hb_buffer_create();
      hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(one.data()), 1, 0, 1);
      hb_buffer_guess_segment_properties(buffer);
      hb_font_t* font = hb_ft_font_create_referenced(face_.get());
      hb_shape(font, buffer, nullptr, 0);
      unsigned count = 0;
      const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
      for (unsigned i = 0; i < count; ++i) glyphs.insert(info[i].codepoint);
      hb_font_destroy(font);
      hb_buffer_destroy(buffer);
    }
    return glyphs;
  }

  FreeTypeLibrary library_;
  FontFace face_, plain_;
  FontFacts facts_;
  FaceCoverage coverage_;
};

TEST_P(ScriptSampleTest, CategoryScriptAndShapedSample) {
  const ScriptCase& c = GetParam();
  const ShapeFacts shape = ReadShapeFacts(face_.get(), coverage_, facts_.family);
  const CategoryDecision decision = DecideCategory(shape);
  EXPECT_EQ(CategoryText(decision.category), CategoryText(c.category))
      << ExplainDecision(decision, shape) << "; scripts " << coverage_.ScriptNames();
  const bool symbols = decision.category == Category::Wingdings;
  Shaper shaper(face_.get()), plainShaper(plain_.get());
  const std::vector<SampleLine> lines =
      LayoutSample(shaper, &plainShaper, facts_.family,
                   symbols ? SampleKind::Symbols : SampleKind::Text, coverage_);
  ASSERT_GE(lines.size(), 2u);
  for (const SampleLine& line : lines) {
    EXPECT_FALSE(line.run.HasMissingGlyph()) << "a .notdef box in \"" << line.text << '"';
    EXPECT_GT(line.ink.width, 0) << line.text;
    EXPECT_LE(line.ink.width, kPictureMaxWidth);
  }
  if (symbols) {
    EXPECT_EQ(lines[0].face, face_.get());
    EXPECT_EQ(lines[0].run.glyphs.size(), 12u);
    return;
  }
  ASSERT_FALSE(coverage_.scripts.empty());
  EXPECT_EQ(coverage_.scripts.front().isoCode, c.mainScript) << coverage_.ScriptNames();
  const SampleLine& sample = lines[1];
  EXPECT_EQ(sample.face, face_.get()) << "the sample line is never drawn in another face";
  EXPECT_EQ(sample.text.rfind(c.sampleStart, 0), 0u) << sample.text;
  EXPECT_EQ(lines[0].face, (c.checks & kNameInFace) ? face_.get() : plain_.get());
  EXPECT_EQ(lines.size(), (c.checks & kLatinLine) ? 3u : 2u);

  if (c.checks & kJoinedRightToLeft) {
    EXPECT_TRUE(sample.run.rightToLeft);
    // In visual order the text's first characters are rightmost.
    EXPECT_EQ(sample.run.glyphs.back().cluster, 0u);
    EXPECT_GT(sample.run.glyphs.front().cluster, 0u);
    // Joined letters take their initial, medial and final forms, which the
    // letters shaped alone do not.
    const std::set<FT_UInt> isolated = IsolatedGlyphs(sample.text);
    int joined = 0;
    for (const ShapedGlyph& g : sample.run.glyphs) joined += isolated.count(g.glyph) == 0;
    EXPECT_GE(joined, 10);
  }
  if (c.checks & kConjuncts) {
    EXPECT_FALSE(sample.run.rightToLeft);
    // Each virama joins its consonants into a conjunct or a half form, so no
    // glyph is the virama drawn alone, and there are fewer glyphs than
    // characters.
    const std::set<FT_UInt> virama = IsolatedGlyphs("\u094D");
    for (const ShapedGlyph& g : sample.run.glyphs) EXPECT_EQ(virama.count(g.glyph), 0u);
    EXPECT_LT(sample.run.glyphs.size(), DecodeUtf8(sample.text).size());
  }
}

INSTANTIATE_TEST_SUITE_P(Noto, ScriptSampleTest, ::testing::ValuesIn(kScriptCases),
                         [](const auto& p) {
                           std::string name = std::filesystem::path(p.param.file).stem().string();
                           name += '_';
                           name += std::to_string(p.param.faceIndex);
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(SerifsByNameTest, WordsOfTheFamilyName) {
  const std::pair<const char*, std::optional<bool>> cases[] = {
      {"Noto Naskh Arabic", true}, {"Noto Kufi Arabic", false}, {"IPAMincho", std::nullopt},
      {"IPA Mincho", true},        {"Noto Sans CJK JP", false}, {"Microsoft Sans Serif", false},
      {"Noto Serif Tamil", true},  {"URW Gothic", false},       {"C059", std::nullopt},
      {"Nimbus Roman", true},      {"Sansation", std::nullopt},
  };
  for (const auto& [family, expected] : cases) EXPECT_EQ(SerifsByName(family), expected) << family;
}

TEST(FaceCoverageTest, LatinFaceWithManyScriptsIsLatin) {
  const char* file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  FontFace face = OpenFace(library.get(), file, 0, nullptr);
  ASSERT_TRUE(face);
  const FaceCoverage coverage = ReadFaceCoverage(face.get(), "DejaVu Sans");
  EXPECT_TRUE(coverage.MainIsLatin()) << coverage.ScriptNames();
  for (const char* script : {"Grek", "Cyrl", "Armn", "Hebr", "Arab", "Geor"})
    EXPECT_TRUE(coverage.Covers(script)) << script << " not in " << coverage.ScriptNames();
  EXPECT_LT(2 * coverage.symbols, coverage.mapped);
}

}  // namespace
}  // namespace pellory::mkcatalogue
