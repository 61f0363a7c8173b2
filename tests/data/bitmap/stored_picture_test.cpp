// A stored picture value: the optional 8-byte prefix, empty and short values.
#include <gtest/gtest.h>

#include "bmp_fixture.h"
#include "pellory/data/bitmap.h"

namespace pellory::data {
namespace {

using testing::Bytes;
using testing::Cut;

// 2 by 1, 24 bits: red then blue.
Bytes TwoPixels() {
  return testing::MakeBmp({.width = 2, .height = 1, .pixels = {0, 0, 255, 255, 0, 0, 0, 0}});
}

std::string ErrorOf(const Bytes& value) {
  try {
    DecodeStoredPicture(value);
  } catch (const BitmapError& error) {
    return error.what();
  }
  return "decoded";
}

TEST(StoredPicture, EmptyValueGivesEmptyImage) {
  const BitmapImage image = DecodeStoredPicture({});
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_EQ(image.width, 0);
  EXPECT_TRUE(image.pixels.empty());
  EXPECT_TRUE(image.indices.empty());
}

TEST(StoredPicture, GraphicHeaderAloneGivesEmptyImage) {
  EXPECT_TRUE(DecodeStoredPicture(testing::WithGraphicHeader({})).IsEmpty());
}

TEST(StoredPicture, PrefixedValuesDecodeLikeTheBareFile) {
  const Bytes file = TwoPixels();
  const BitmapImage bare = DecodeBitmap(file);
  ASSERT_EQ(ArgbPixels(bare), (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF0000FFu}));
  for (const Bytes& value :
       {file, testing::WithGraphicHeader(file), testing::WithParadoxPrefix(file)}) {
    const BitmapImage image = DecodeStoredPicture(value);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(ArgbPixels(image), ArgbPixels(bare));
  }
}

struct ErrorCase {
  const char* name;
  Bytes value;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.name;
}

class StoredPictureErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(StoredPictureErrors, GiveTheirMessage) {
  EXPECT_EQ(ErrorOf(GetParam().value), GetParam().message);
}

Bytes Changed(Bytes value, std::size_t at, std::uint8_t byte) {
  value[at] = byte;
  return value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredPictureErrors,
    ::testing::Values(
        ErrorCase{"FiveBytes", {'B', 'M', 0, 0, 0}, "Stream read error"},
        ErrorCase{"ThirteenBytes", Cut(TwoPixels(), 13), "Stream read error"},
        ErrorCase{"FourteenBytesNotBM", Bytes(14, 'x'), "Bitmap image is not valid"},
        ErrorCase{"LongValueNotBM", Changed(TwoPixels(), 0, 'b'), "Bitmap image is not valid"},
        // A header whose size does not match is read from offset 0: its
        // first bytes are not "BM".
        ErrorCase{"HeaderSizeTooSmall", Changed(testing::WithGraphicHeader(TwoPixels()), 4, 1),
                  "Bitmap image is not valid"},
        ErrorCase{"HeaderCountTwo", Changed(testing::WithGraphicHeader(TwoPixels()), 0, 2),
                  "Bitmap image is not valid"},
        ErrorCase{"HeaderTypeWrong", Changed(testing::WithGraphicHeader(TwoPixels()), 3, 2),
                  "Bitmap image is not valid"},
        ErrorCase{"ParadoxLengthWrong", Changed(testing::WithParadoxPrefix(TwoPixels()), 4, 9),
                  "Bitmap image is not valid"},
        ErrorCase{"HeaderThenFiveBytes", testing::WithGraphicHeader({'B', 'M', 1, 2, 3}),
                  "Stream read error"}),
    [](const auto& p) { return std::string(p.param.name); });

struct OffsetCase {
  const char* name;
  Bytes head;
  std::uint64_t size;
  std::size_t offset;
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
  *os << c.name;
}

class PictureOffset : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(PictureOffset, FollowsTheHeaderRule) {
  EXPECT_EQ(StoredPictureOffset(GetParam().head, GetParam().size), GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PictureOffset,
    ::testing::Values(
        OffsetCase{"GraphicHeader", {1, 0, 0, 1, 100, 0, 0, 0}, 108, 8},
        OffsetCase{"ParadoxPrefix", {1, 0, 0, 0, 100, 0, 0, 0}, 108, 8},
        OffsetCase{"EmptyAfterHeader", {1, 0, 0, 1, 0, 0, 0, 0}, 8, 8},
        OffsetCase{"SizeOneShort", {1, 0, 0, 1, 99, 0, 0, 0}, 108, 0},
        OffsetCase{"SizeBeyond32Bits", {1, 0, 0, 1, 0, 0, 0, 0}, (std::uint64_t{1} << 32) + 8, 0},
        OffsetCase{"CountZero", {0, 0, 0, 1, 100, 0, 0, 0}, 108, 0},
        OffsetCase{"OtherType", {1, 0, 0, 2, 100, 0, 0, 0}, 108, 0},
        OffsetCase{"BareBitmap", {'B', 'M', 108, 0, 0, 0, 0, 0}, 108, 0},
        OffsetCase{"ShorterThanHeader", {1, 0, 0, 1, 0}, 5, 0}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace pellory::data
