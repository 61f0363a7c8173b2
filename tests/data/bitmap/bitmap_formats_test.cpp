// Every supported pixel format on tiny hand-made files, checked pixel by
// pixel, and what the image keeps of the colour table.
#include <gtest/gtest.h>

#include "bmp_fixture.h"
#include "pellory/data/bitmap.h"

namespace pellory::data {
namespace {

using testing::BmpFields;
using testing::GreyTable;
using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t Grey(std::uint32_t g) {
  return 0xFF000000u | g << 16 | g << 8 | g;
}

struct FormatCase {
  const char* name;
  BmpFields fields;
  int width;
  int height;
  Pixels pixels;  // top row first
};

void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.name;
}

class BitmapFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BitmapFormats, DecodeToTheirPixels) {
  const FormatCase& c = GetParam();
  const BitmapImage image = DecodeBitmap(testing::MakeBmp(c.fields));
  EXPECT_EQ(image.width, c.width);
  EXPECT_EQ(image.height, c.height);
  EXPECT_EQ(image.bitsPerPixel, c.fields.bitsPerPixel);
  EXPECT_EQ(ArgbPixels(image), c.pixels);
}

const std::uint32_t k565[] = {0xF800, 0x07E0, 0x001F};

INSTANTIATE_TEST_SUITE_P(
    Uncompressed, BitmapFormats,
    ::testing::Values(
        // Rows are stored bottom first; the leftmost pixel is the high bit.
        FormatCase{"OneBit",
                   {.width = 3,
                    .height = 2,
                    .bitsPerPixel = 1,
                    .colours = {0x000000, 0xFFFFFF},
                    .pixels = {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
                   3,
                   2,
                   {Grey(0), Grey(255), Grey(0), Grey(255), Grey(0), Grey(255)}},
        FormatCase{"FourBit",
                   {.width = 3,
                    .bitsPerPixel = 4,
                    .colours = {0x110000, 0x002200, 0x000033},
                    .pixels = {0x20, 0x10, 0, 0}},
                   3,
                   1,
                   {0xFF000033, 0xFF110000, 0xFF002200}},
        FormatCase{"EightBitTopDown",
                   {.width = 2,
                    .height = -2,
                    .bitsPerPixel = 8,
                    .colours = GreyTable(4),
                    .pixels = {1, 2, 0, 0, 3, 0, 0, 0}},
                   2,
                   2,
                   {Grey(1), Grey(2), Grey(3), Grey(0)}},
        // The last row may come without its padding.
        FormatCase{"EightBitLastRowUnpadded",
                   {.width = 1,
                    .height = 2,
                    .bitsPerPixel = 8,
                    .colours = GreyTable(8),
                    .pixels = {5, 0, 0, 0, 7}},
                   1,
                   2,
                   {Grey(7), Grey(5)}},
        FormatCase{"TwentyFourBit",
                   {.width = 2, .pixels = {1, 2, 3, 4, 5, 6, 0, 0}},
                   2,
                   1,
                   {0xFF030201, 0xFF060504}},
        // Rows of 12 bytes need no padding: the last pixel ends the data.
        FormatCase{"TwentyFourBitEndingTheData",
                   {.width = 4, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                   4,
                   1,
                   {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}},
        FormatCase{"ThirtyTwoBitIgnoresAlpha",
                   {.bitsPerPixel = 32, .pixels = {0x10, 0x20, 0x30, 0x99}},
                   1,
                   1,
                   {0xFF302010}},
        // 5-bit channels scale so that 31 gives 255: 16 gives 132.
        FormatCase{"SixteenBitDefault555",
                   {.width = 2, .bitsPerPixel = 16, .pixels = {0x00, 0x7C, 0x10, 0x00}},
                   2,
                   1,
                   {0xFFFF0000, 0xFF000084}},
        FormatCase{"SixteenBit565",
                   {.width = 2,
                    .bitsPerPixel = 16,
                    .compression = 3,
                    .masks = {k565, k565 + 3},
                    .pixels = {0xE0, 0x07, 0x20, 0x08}},
                   2,
                   1,
                   {0xFF00FF00, 0xFF080400}},
        FormatCase{"ThirtyTwoBitSwappedMasks",
                   {.bitsPerPixel = 32,
                    .compression = 3,
                    .masks = {0xFF, 0xFF00, 0xFF0000},
                    .pixels = {0x11, 0x22, 0x33, 0}},
                   1,
                   1,
                   {0xFF112233}},
        FormatCase{"ThirtyTwoBitTenBitChannels",
                   {.bitsPerPixel = 32,
                    .compression = 3,
                    .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
                    .pixels = {0x00, 0x00, 0xF8, 0x3F}},
                   1,
                   1,
                   {0xFFFF8000}},
        FormatCase{"CoreHeaderEightBit",
                   {.headerSize = 12,
                    .width = 2,
                    .bitsPerPixel = 8,
                    .colours = GreyTable(256),
                    .pixels = {5, 255, 0, 0}},
                   2,
                   1,
                   {Grey(5), Grey(255)}},
        FormatCase{"Version4Header",
                   {.headerSize = 108,
                    .width = 2,
                    .bitsPerPixel = 8,
                    .colours = GreyTable(256),
                    .pixels = {9, 8, 0, 0}},
                   2,
                   1,
                   {Grey(9), Grey(8)}},
        FormatCase{"Version5MasksInHeader",
                   {.headerSize = 124,
                    .width = 2,
                    .bitsPerPixel = 16,
                    .compression = 3,
                    .masks = {k565, k565 + 3},
                    .pixels = {0xE0, 0x07, 0x00, 0xF8}},
                   2,
                   1,
                   {0xFF00FF00, 0xFFFF0000}},
        FormatCase{"FiftyTwoByteHeaderMasks",
                   {.headerSize = 52,
                    .bitsPerPixel = 32,
                    .compression = 3,
                    .masks = {0xFF, 0xFF00, 0xFF0000},
                    .pixels = {1, 2, 3, 0}},
                   1,
                   1,
                   {0xFF010203}}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    RunLength, BitmapFormats,
    ::testing::Values(
        // Bottom row: a run, end of line; middle: a padded literal run, end of
        // line; top: a move right, a run, end of bitmap.
        FormatCase{"Rle8",
                   {.width = 4,
                    .height = 3,
                    .bitsPerPixel = 8,
                    .compression = 1,
                    .imageSize = 20,
                    .colours = GreyTable(4),
                    .pixels = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1}},
                   4,
                   3,
                   {Grey(0), Grey(0), Grey(3), Grey(3), Grey(2), Grey(3), Grey(1), Grey(0), Grey(1),
                    Grey(1), Grey(1), Grey(0)}},
        // Runs alternate the two nibbles; a literal run of 3 takes 2 bytes.
        FormatCase{"Rle4",
                   {.width = 5,
                    .height = 2,
                    .bitsPerPixel = 4,
                    .compression = 2,
                    .imageSize = 12,
                    .colours = GreyTable(16),
                    .pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 1, 0x60, 0, 1}},
                   5,
                   2,
                   {Grey(3), Grey(4), Grey(5), Grey(6), Grey(0), Grey(1), Grey(2), Grey(1), Grey(2),
                    Grey(1)}},
        // Data that ends between commands ends the image.
        FormatCase{"Rle8WithoutEnd",
                   {.width = 2,
                    .height = 2,
                    .bitsPerPixel = 8,
                    .compression = 1,
                    .colours = GreyTable(4),
                    .pixels = {2, 3}},
                   2,
                   2,
                   {Grey(0), Grey(0), Grey(3), Grey(3)}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(BitmapColours, ImageKeepsColourTableAndPalette) {
  const BitmapImage image = DecodeBitmap(testing::MakeBmp({.width = 1,
                                                           .bitsPerPixel = 24,
                                                           .coloursUsed = 2,
                                                           .colours = {0x123456, 0xABCDEF},
                                                           .pixels = {0, 0, 0, 0}}));
  EXPECT_EQ(image.colourTable, (Pixels{0x123456, 0xABCDEF}));
  EXPECT_EQ(image.palette, (Pixels{0xFF123456, 0xFFABCDEF}));
}

TEST(BitmapColours, CoreTableIsWidenedToAllEntries) {
  const BitmapImage image = DecodeBitmap(testing::MakeBmp(
      {.headerSize = 12, .bitsPerPixel = 8, .colours = GreyTable(256), .pixels = {0, 0, 0, 0}}));
  ASSERT_EQ(image.colourTable.size(), 256u);
  EXPECT_EQ(image.colourTable[200], 0x00C8C8C8u);
  EXPECT_EQ(image.palette[200], 0xFFC8C8C8u);
}

TEST(BitmapColours, IndexedImageKeepsItsIndicesTopRowFirst) {
  const BitmapImage image =
      DecodeBitmap(testing::MakeBmp({.width = 3,
                                     .height = 2,
                                     .bitsPerPixel = 4,
                                     .colours = GreyTable(6),
                                     .pixels = {0x01, 0x20, 0, 0, 0x34, 0x50, 0, 0}}));
  ASSERT_TRUE(image.IsIndexed());
  EXPECT_TRUE(image.pixels.empty());
  EXPECT_EQ(image.indices, (std::vector<std::uint8_t>{3, 4, 5, 0, 1, 2}));
  EXPECT_EQ(image.PixelAt(2, 0), Grey(5));
}

TEST(BitmapColours, NoTableNoPalette) {
  const BitmapImage image =
      DecodeBitmap(testing::MakeBmp({.bitsPerPixel = 24, .pixels = {0, 0, 0, 0}}));
  EXPECT_TRUE(image.colourTable.empty());
  EXPECT_TRUE(image.palette.empty());
}

TEST(BitmapColours, TableLargerThanTheIndicesIsKept) {
  const BitmapImage image =
      DecodeBitmap(testing::MakeBmp({.bitsPerPixel = 1,
                                     .coloursUsed = 3,
                                     .colours = {0x0000FF, 0x00FF00, 0xFF0000},
                                     .pixels = {0x80, 0, 0, 0}}));
  EXPECT_EQ(image.colourTable.size(), 3u);
  EXPECT_EQ(ArgbPixels(image), (Pixels{0xFF00FF00}));
}

}  // namespace
}  // namespace pellory::data
