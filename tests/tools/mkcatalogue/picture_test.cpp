// Sample pictures: the BMP file, the graphic header, and drawing.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>

#include "bmp_image.h"
#include "face_record.h"
#include "font_facts.h"
#include "pellory/testkit/little_endian.h"
#include "sample_picture.h"

namespace pellory::mkcatalogue {
namespace {

using testkit::U16;
using testkit::U32;

TEST(GreyBmpTest, HeadersPaletteAndBottomUpRows) {
  // 3 by 2: the top row black, the bottom row white; rows padded to 4 bytes.
  const GreyImage image{3, 2, {0, 0, 0, 255, 255, 255}};
  const std::string bmp = EncodeGreyBmp(image);
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 8);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 14u + 40 + 1024);
  EXPECT_EQ(U32(bmp, 14), 40u);
  EXPECT_EQ(U32(bmp, 18), 3u);
  EXPECT_EQ(U32(bmp, 22), 2u);
  EXPECT_EQ(U16(bmp, 26), 1);
  EXPECT_EQ(U16(bmp, 28), 8);
  EXPECT_EQ(U32(bmp, 30), 0u);
  EXPECT_EQ(U32(bmp, 34), 8u);
  EXPECT_EQ(U32(bmp, 46), 256u);
  EXPECT_EQ(U32(bmp, 54 + 4 * 128), 0x00808080u);                    // grey 128
  EXPECT_EQ(bmp.substr(1078, 4), std::string("\xFF\xFF\xFF\0", 4));  // bottom row first
  EXPECT_EQ(bmp.substr(1082, 4), std::string("\0\0\0\0", 4));
}

TEST(GreyBmpTest, FewLevelsMakeAShortPalette) {
  const std::string bmp = EncodeGreyBmp(GreyImage{4, 1, {0, 1, 1, 0}}, 2);
  ASSERT_EQ(bmp.size(), 14u + 40 + 8 + 4);
  EXPECT_EQ(U32(bmp, 46), 2u);
  EXPECT_EQ(U32(bmp, 54), 0u);
  EXPECT_EQ(U32(bmp, 58), 0x00FFFFFFu);
  EXPECT_THROW(EncodeGreyBmp(GreyImage{2, 2, {0}}), std::invalid_argument);
}

TEST(GraphicHeaderTest, CountOneTypeHex0100AndTheSize) {
  const std::string stored = WithGraphicHeader("BMxyz");
  EXPECT_EQ(stored.substr(0, 8), std::string("\x01\x00\x00\x01\x05\x00\x00\x00", 8));
  EXPECT_EQ(stored.substr(8), "BMxyz");
}

class SampleDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = OpenFreeType();
    face_ = Open("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
    plain_ = Open("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!face_ || !plain_) GTEST_SKIP() << "DejaVu fonts are not installed";
  }
  FontFace Open(const char* file) {
    if (!std::filesystem::exists(file)) return nullptr;
    return OpenFace(library_.get(), file, 0, nullptr);
  }
  static int DarkPixels(const GreyImage& image) {
    int dark = 0;
    for (auto p : image.pixels) dark += p < 128;
    return dark;
  }
  GreyImage Draw(FT_Face face, FT_Face plain, const char* name, SampleKind kind) {
    return DrawSample(face, plain, name, kind, ReadFaceCoverage(face, face->family_name));
  }
  FreeTypeLibrary library_;
  FontFace face_, plain_;
};

TEST_F(SampleDrawingTest, TextFitsThePictureBoxBlackOnWhite) {
  for (const char* name :
       {"DejaVu Serif Book", "An extremely long family name that cannot fit at any size at all"}) {
    const GreyImage image = Draw(face_.get(), plain_.get(), name, SampleKind::Text);
    SCOPED_TRACE(name);
    EXPECT_LE(image.width, kPictureMaxWidth);
    EXPECT_LE(image.height, kPictureMaxHeight);
    EXPECT_GT(image.height, 30);  // two lines
    EXPECT_GT(DarkPixels(image), 200);
    EXPECT_EQ(image.pixels.front(), 255);  // white margin
    EXPECT_EQ(image.pixels.back(), 255);
  }
}

TEST_F(SampleDrawingTest, SymbolSampleNamesTheFaceInThePlainFace) {
  const GreyImage withName = Draw(face_.get(), plain_.get(), "Name", SampleKind::Symbols);
  const GreyImage withoutName = Draw(face_.get(), nullptr, "Name", SampleKind::Symbols);
  EXPECT_GT(withName.height, withoutName.height);
  EXPECT_GT(DarkPixels(withoutName), 100);
}

TEST_F(SampleDrawingTest, SameInputSamePixels) {
  const GreyImage a = Draw(face_.get(), plain_.get(), "Same", SampleKind::Text);
  const GreyImage b = Draw(face_.get(), plain_.get(), "Same", SampleKind::Text);
  EXPECT_EQ(a.pixels, b.pixels);
}

struct SymbolCase {
  const char* file;
  const char* name;
};

void PrintTo(const SymbolCase& c, std::ostream* os) {
  *os << c.file;
}

class SymbolPictureTest : public ::testing::TestWithParam<SymbolCase> {};

// Drawn from the face's own symbols, whole, with the name line beneath and
// nothing cut at an edge.
TEST_P(SymbolPictureTest, OwnSymbolsWholeWithTheNameLine) {
  const std::filesystem::path file = GetParam().file;
  const std::filesystem::path plainFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!std::filesystem::exists(file) || !std::filesystem::exists(plainFile))
    GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  const FontFace face = OpenFace(library.get(), file, 0, nullptr);
  const FontFace plain = OpenFace(library.get(), plainFile, 0, nullptr);
  ASSERT_TRUE(face && plain);
  const FontFacts facts = ReadFontFacts(face.get(), file, 0);
  Shaper plainShaper(plain.get());
  const FaceOutcome outcome = ReadFace(face.get(), facts, GetParam().name, {&plainShaper, nullptr});
  ASSERT_TRUE(outcome.record) << outcome.fault;
  EXPECT_EQ(outcome.record->decision.category, Category::Wingdings);
  Shaper shaper(face.get());
  const auto lines = LayoutSample(shaper, &plainShaper, GetParam().name, SampleKind::Symbols,
                                  outcome.record->coverage);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_GE(lines[0].run.glyphs.size(), 6u);
  EXPECT_FALSE(lines[0].ink.cropped) << "a symbol cut at the right edge";
  EXPECT_GT(lines[0].ink.height, 10);
  EXPECT_EQ(lines[1].face, plain.get());
  EXPECT_FALSE(lines[1].ink.cropped);
  // Not the ASCII punctuation symbol faces also map (in a symbol map: the
  // lower half, where Symbol has it).
  const bool unicode = FT_Select_Charmap(face.get(), FT_ENCODING_UNICODE) == 0;
  if (!unicode) {
    ASSERT_EQ(FT_Select_Charmap(face.get(), FT_ENCODING_MS_SYMBOL), 0);
  }
  for (char32_t c = U'!'; c <= U'~'; ++c) {
    const FT_UInt ascii = FT_Get_Char_Index(face.get(), unicode ? c : 0xF000 | c);
    for (const ShapedGlyph& g : lines[0].run.glyphs)
      EXPECT_TRUE(ascii == 0 || g.glyph != ascii) << static_cast<char>(c);
  }
  // The whole picture: both lines inside it, its outer columns and rows white.
  const GreyImage& image = outcome.record->picture;
  int height = 8 * 2 - 6;
  for (const auto& line : lines) height += line.ink.height + 6;
  EXPECT_EQ(image.height, height) << "every line inside the picture";
  EXPECT_LE(image.height, kPictureMaxHeight);
  for (int y = 0; y < image.height; ++y) {
    EXPECT_EQ(image.pixels[static_cast<std::size_t>(y) * image.width], 255) << y;
    EXPECT_EQ(image.pixels[static_cast<std::size_t>(y) * image.width + image.width - 1], 255)
        << "ink in the last column, row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Debian, SymbolPictureTest,
    ::testing::Values(
        SymbolCase{"/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf", "Noto Color Emoji Regular"},
        SymbolCase{"/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf", "Symbola Regular"},
        SymbolCase{"/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf",
                   "Standard Symbols PS Regular"},
        SymbolCase{"/usr/share/fonts/type1/urw-base35/StandardSymbolsPS.t1",
                   "Standard Symbols PS Regular"},
        SymbolCase{"/usr/share/fonts/truetype/noto/NotoSansSymbols-Regular.ttf",
                   "Noto Sans Symbols Regular"},
        SymbolCase{"/usr/share/fonts/truetype/noto/NotoSansSymbols-Black.ttf",
                   "Noto Sans Symbols Black"},
        SymbolCase{"/usr/share/fonts/truetype/noto/NotoSansTamilSupplement-Regular.ttf",
                   "Noto Sans Tamil Supplement Regular"},
        SymbolCase{"/usr/share/fonts/opentype/urw-base35/D050000L.otf", "D050000L Regular"}),
    [](const auto& p) {
      std::string name = std::filesystem::path(p.param.file).filename().string();
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

}  // namespace
}  // namespace pellory::mkcatalogue
