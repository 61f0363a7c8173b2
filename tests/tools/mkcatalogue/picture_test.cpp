// Sample pictures: the BMP file, the graphic header, and drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "bmp_image.h"
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

}  // namespace
}  // namespace pellory::mkcatalogue
