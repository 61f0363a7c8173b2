// Malformed files made from small good ones: each must be refused with the
// decoder's message (never a crash, an over-read or a huge allocation), and
// fields the decoder does not use must not matter.
#include <gtest/gtest.h>

#include "bmp_fixture.h"
#include "pellory/data/bitmap.h"

namespace pellory::data {
namespace {

using testing::BmpFields;
using testing::Bytes;
using testing::Cut;
using testing::GreyTable;
using testing::kInvalid;
using testing::kShort;
using testing::Set32;

// Offsets from "BM" of the fields the cases change.
enum Field : std::size_t {
  kFileSize = 0x02,
  kDataOffset = 0x0A,
  kHeaderSize = 0x0E,
  kWidth = 0x12,
  kHeight = 0x16,
  kPlanes = 0x1A,
  kBits = 0x1C,
  kCompression = 0x1E,
  kImageSize = 0x22,
  kResolution = 0x26,
  kColoursUsed = 0x2E,
  kAfterHeader = 0x36,
};

Bytes Indexed(int width, int height, std::uint16_t bits, std::size_t colours, std::uint8_t fill) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  return testing::MakeBmp({.width = width,
                           .height = height,
                           .bitsPerPixel = bits,
                           .colours = GreyTable(colours),
                           .pixels = Bytes(stride * height, fill)});
}
Bytes Pal8() {
  return Indexed(4, 4, 8, 256, 7);
}
Bytes Rgb24() {
  return testing::MakeBmp({.width = 4, .height = 4, .pixels = Bytes(48, 0x5A)});
}
Bytes Rle(std::uint16_t bits, int width, int height, Bytes stream) {
  return testing::MakeBmp({.width = width,
                           .height = height,
                           .bitsPerPixel = bits,
                           .compression = bits == 8 ? 1u : 2u,
                           .imageSize = static_cast<std::uint32_t>(stream.size()),
                           .colours = GreyTable(bits == 8 ? 256 : 16),
                           .pixels = stream});
}
Bytes Rgb16(std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint16_t bits = 16) {
  return testing::MakeBmp({.bitsPerPixel = bits,
                           .compression = 3,
                           .masks = {red, green, blue},
                           .pixels = Bytes(4, 0xFF)});
}

Bytes With32(Bytes file, std::size_t at, std::uint32_t value) {
  Set32(file, at, value);
  return file;
}
Bytes With16(Bytes file, std::size_t at, std::uint16_t value) {
  file[at] = static_cast<std::uint8_t>(value);
  file[at + 1] = static_cast<std::uint8_t>(value >> 8);
  return file;
}
Bytes Repeated(const Bytes& part, int times) {
  Bytes all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
  return all;
}
Bytes Literal(std::uint8_t count) {
  Bytes stream(count + 4u, 1);
  stream[0] = 0;
  stream[1] = count;
  stream[count + 2u] = 0;
  return stream;
}

struct RejectCase {
  const char* name;
  Bytes file;
  const char* message;
};

void PrintTo(const RejectCase& c, std::ostream* os) {
  *os << c.name;
}

class RejectedBitmaps : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RejectedBitmaps, FailWithTheirMessage) {
  try {
    const BitmapImage image = DecodeBitmap(GetParam().file);
    ADD_FAILURE() << "decoded to " << image.width << " by " << image.height;
  } catch (const BitmapError& error) {
    EXPECT_STREQ(error.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dimensions, RejectedBitmaps,
    ::testing::Values(
        RejectCase{"HugeInTinyFile", With32(With32(Rgb24(), kWidth, 50000), kHeight, 50000),
                   kInvalid},
        RejectCase{"AllowedSizeWithoutTheData",
                   With32(With32(Rgb24(), kWidth, 8000), kHeight, 8000), kShort},
        RejectCase{"RleCanvasTooLargeForItsData", Rle(8, 30000, 2000, {0, 1}), kInvalid},
        RejectCase{"StrideWrapsIn32Bits", With32(With32(Rgb24(), kWidth, 0x55555556), kHeight, 1),
                   kInvalid},
        RejectCase{"PixelBytesWrapIn32Bits",
                   With16(With32(With32(Rgb24(), kWidth, 65536), kHeight, 65536), kBits, 32),
                   kInvalid},
        RejectCase{"HeightMostNegative", With32(Pal8(), kHeight, 0x80000000u), kInvalid},
        RejectCase{"WidthZero", With32(Pal8(), kWidth, 0), kInvalid},
        RejectCase{"HeightZero", With32(Pal8(), kHeight, 0), kInvalid},
        RejectCase{"WidthNegative", With32(Pal8(), kWidth, static_cast<std::uint32_t>(-127)),
                   kInvalid},
        RejectCase{"CoreWidthZero",
                   testing::MakeBmp(
                       {.headerSize = 12, .width = 0, .bitsPerPixel = 24, .pixels = Bytes(4, 0)}),
                   kInvalid}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Headers, RejectedBitmaps,
    ::testing::Values(
        RejectCase{"BitsZero", With16(Pal8(), kBits, 0), kInvalid},
        RejectCase{"Bits30000", With16(Pal8(), kBits, 30000), kInvalid},
        RejectCase{"TwoBits", Indexed(4, 4, 2, 4, 0), kInvalid},
        RejectCase{"PlanesZero", With16(Pal8(), kPlanes, 0), kInvalid},
        RejectCase{"Rle8DeclaredFourBits", With16(Rle(8, 4, 4, {4, 1, 0, 1}), kBits, 4), kInvalid},
        RejectCase{"BitFieldsWithEightBits", With32(Pal8(), kCompression, 3), kInvalid},
        RejectCase{"UnknownCompression", With32(Pal8(), kCompression, 0xFFFFFFFF), kInvalid},
        RejectCase{"EmbeddedJpeg", With32(Rgb24(), kCompression, 4), kInvalid},
        RejectCase{"RleTopDown", With32(Rle(8, 4, 4, {4, 1, 0, 1}), kHeight, 0xFFFFFFFC), kInvalid},
        RejectCase{"HeaderSizeHuge", With32(Pal8(), kHeaderSize, 0xFFFFFFF0), kInvalid},
        RejectCase{"HeaderSize8", With32(Pal8(), kHeaderSize, 8), kInvalid},
        RejectCase{"HeaderSize16", With32(Pal8(), kHeaderSize, 16), kInvalid},
        RejectCase{"HeaderSize66", With32(Pal8(), kHeaderSize, 66), kInvalid},
        RejectCase{"OS2Version2Header", With32(Pal8(), kHeaderSize, 64), kInvalid},
        RejectCase{"CutInTheInfoHeader", Cut(Rgb24(), 30), kShort},
        RejectCase{"CutInTheHeaderSize", Cut(Rgb24(), 16), kShort}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Colours, RejectedBitmaps,
    ::testing::Values(
        RejectCase{"ColourCountWrapsIn32Bits", With32(Pal8(), kColoursUsed, 0x40000001), kShort},
        RejectCase{"ColourCountAbsurd", With32(Pal8(), kColoursUsed, 305402420), kShort},
        // 12 entries stored, 16 declared: the table eats the pixel data.
        RejectCase{"TableLongerThanItsRoom", With32(Indexed(8, 4, 4, 12, 0), kColoursUsed, 16),
                   kShort},
        RejectCase{"EightBitIndexBeyondTable", Indexed(4, 4, 8, 16, 200), kInvalid},
        RejectCase{"OneBitIndexBeyondTable", Indexed(4, 1, 1, 1, 0x10), kInvalid},
        RejectCase{"FourBitIndexBeyondTable", Indexed(3, 1, 4, 3, 0x05), kInvalid},
        RejectCase{"PixelDataCut", Cut(Rgb24(), Rgb24().size() - 4), kShort}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    RunLength, RejectedBitmaps,
    ::testing::Values(
        RejectCase{"LiteralRunPastRow", Rle(8, 4, 4, Literal(100)), kInvalid},
        RejectCase{"EncodedRunPastRow", Rle(8, 4, 4, {0xFF, 7, 0, 1}), kInvalid},
        RejectCase{"FourBitRunPastRow", Rle(4, 4, 4, {5, 0x11, 0, 1}), kInvalid},
        RejectCase{"DeltaOutOfImage", Rle(8, 4, 4, {0, 2, 0xFF, 0xFF, 4, 7, 0, 1}), kInvalid},
        RejectCase{"RowsBeyondHeight", Rle(8, 4, 2, Repeated({4, 7, 0, 0}, 52)), kInvalid},
        RejectCase{"EndOfLinePastLastRow", Rle(8, 4, 2, {0, 0, 0, 0, 0, 0, 0, 1}), kInvalid},
        RejectCase{"LiteralCutOff", Rle(8, 8, 2, {0, 8, 1, 2, 3}), kInvalid},
        RejectCase{"DeltaCutOff", Rle(8, 8, 2, {0, 2, 1}), kInvalid},
        RejectCase{"CommandCutOff", Rle(8, 8, 2, {3}), kInvalid},
        RejectCase{"RunIndexBeyondTable",
                   testing::MakeBmp({.width = 4,
                                     .bitsPerPixel = 8,
                                     .compression = 1,
                                     .colours = GreyTable(16),
                                     .pixels = {2, 200, 0, 1}}),
                   kInvalid},
        RejectCase{"FourBitSecondIndexBeyondTable",
                   testing::MakeBmp({.width = 4,
                                     .bitsPerPixel = 4,
                                     .compression = 2,
                                     .colours = GreyTable(4),
                                     .pixels = {2, 0x19, 0, 1}}),
                   kInvalid},
        RejectCase{"LiteralIndexBeyondTable",
                   testing::MakeBmp({.width = 4,
                                     .bitsPerPixel = 8,
                                     .compression = 1,
                                     .imageSize = 8,
                                     .colours = GreyTable(4),
                                     .pixels = {0, 3, 1, 2, 9, 0, 0, 1}}),
                   kInvalid}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Masks, RejectedBitmaps,
    ::testing::Values(RejectCase{"AllZero", Rgb16(0, 0, 0), kInvalid},
                      RejectCase{"Overlapping", Rgb16(0xF800, 0xF800, 0x001F), kInvalid},
                      RejectCase{"NotContiguous", Rgb16(0xF00F, 0x07E0, 0x0010), kInvalid},
                      RejectCase{"WiderThanPixel", Rgb16(0x00FF0000, 0x07E0, 0x001F), kInvalid},
                      RejectCase{"BlueZero", Rgb16(0xF800, 0x07FF, 0), kInvalid},
                      RejectCase{"FullWidthWithOthers", Rgb16(0xFFFFFFFF, 0xFF, 0xFF00, 32),
                                 kInvalid}),
    [](const auto& p) { return std::string(p.param.name); });

// Fields the decoder never reads: lying values change nothing.
struct UnusedFieldCase {
  const char* name;
  std::size_t at;
  std::uint32_t value;
};

void PrintTo(const UnusedFieldCase& c, std::ostream* os) {
  *os << c.name;
}

class UnusedFields : public ::testing::TestWithParam<UnusedFieldCase> {};

TEST_P(UnusedFields, DoNotChangeThePicture) {
  const Bytes good = Pal8();
  const BitmapImage expected = DecodeBitmap(good);
  const BitmapImage image = DecodeBitmap(With32(good, GetParam().at, GetParam().value));
  EXPECT_EQ(image.width, expected.width);
  EXPECT_EQ(ArgbPixels(image), ArgbPixels(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, UnusedFields,
    ::testing::Values(UnusedFieldCase{"FileSize", kFileSize, 0x7DDDDDDD},
                      UnusedFieldCase{"DataOffsetFar", kDataOffset, 0x7FFFFFFF},
                      UnusedFieldCase{"DataOffsetInsideHeader", kDataOffset, 0x10},
                      UnusedFieldCase{"ImageSizeHuge", kImageSize, 0x7EEEEEEE},
                      UnusedFieldCase{"Resolution", kResolution, 0xFFFFFFFF}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(UnusedHeaderParts, ProfileOffsetOfVersion5HeaderIsNotFollowed) {
  Bytes file = testing::MakeBmp(
      {.headerSize = 124, .width = 2, .bitsPerPixel = 24, .pixels = {1, 2, 3, 4, 5, 6, 0, 0}});
  Set32(file, 14 + 112, 0xFFFFFFF0);
  Set32(file, 14 + 116, 0xFFFFFFF0);
  EXPECT_EQ(ArgbPixels(DecodeBitmap(file)), (std::vector<std::uint32_t>{0xFF030201, 0xFF060504}));
}

TEST(RunLengthData, StatedSizeLimitsTheDataRead) {
  // With the stated size cut to the first run, the second run is not read.
  const Bytes file = With32(Rle(8, 2, 2, {2, 3, 0, 0, 2, 4, 0, 1}), kImageSize, 2);
  const BitmapImage image = DecodeBitmap(file);
  EXPECT_EQ(image.PixelAt(0, 0), 0xFF000000u);
  EXPECT_EQ(image.PixelAt(0, 1), 0xFF030303u);
}

}  // namespace
}  // namespace pellory::data
