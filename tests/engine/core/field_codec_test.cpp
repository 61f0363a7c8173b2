// Stored Paradox values to the engine's value format, one table of cases.
#include "field_codec.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pellory/testkit/engine_values.h"

namespace pellory::engine::test {
namespace {

using testkit::Bcd;
using testkit::LittleEndian;

struct Case {
  const char* name;
  std::uint8_t type, size;
  std::vector<std::uint8_t> stored;
  bool blank;
  std::vector<std::uint8_t> value;  // expected value bytes (empty when blank)
};

const Case kCodecCases[] = {
    {"short one", 0x03, 2, {0x80, 0x01}, false, LittleEndian<std::int16_t>(1)},
    {"short 256", 0x03, 2, {0x81, 0x00}, false, LittleEndian<std::int16_t>(256)},
    {"short minus 40", 0x03, 2, {0x7F, 0xD8}, false, LittleEndian<std::int16_t>(-40)},
    {"short zero", 0x03, 2, {0x80, 0x00}, false, LittleEndian<std::int16_t>(0)},
    {"short blank", 0x03, 2, {0x00, 0x00}, true, {}},
    {"long minus one", 0x04, 4, {0x7F, 0xFF, 0xFF, 0xFF}, false, LittleEndian<std::int32_t>(-1)},
    {"autoinc 5", 0x16, 4, {0x80, 0, 0, 5}, false, LittleEndian<std::int32_t>(5)},
    {"number 40", 0x06, 8, {0xC0, 0x44, 0, 0, 0, 0, 0, 0}, false, LittleEndian(40.0)},
    {"number minus 40",
     0x06,
     8,
     {0x3F, 0xBB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     false,
     LittleEndian(-40.0)},
    {"number zero", 0x06, 8, {0x80, 0, 0, 0, 0, 0, 0, 0}, false, LittleEndian(0.0)},
    {"money blank", 0x05, 8, {0, 0, 0, 0, 0, 0, 0, 0}, true, {}},
    {"date 1970-01-01",
     0x02,
     4,
     {0x80, 0x0A, 0xF9, 0x3B},
     false,
     LittleEndian<std::int32_t>(719163)},
    {"date negative reads blank", 0x02, 4, {0x7F, 0xFF, 0xFE, 0x92}, true, {}},
    {"time midnight is no blank", 0x14, 4, {0x80, 0, 0, 0}, false, LittleEndian<std::int32_t>(0)},
    {"logical true", 0x09, 1, {0x81}, false, LittleEndian<std::int16_t>(1)},
    {"logical false", 0x09, 1, {0x80}, false, LittleEndian<std::int16_t>(0)},
    {"logical blank", 0x09, 1, {0x00}, true, {}},
    {"alpha cut at zero", 0x01, 4, {'a', 'b', 0, 'x'}, false, {'a', 'b', 0, 0, 0}},
    {"alpha full width", 0x01, 3, {'a', 'b', 'c'}, false, {'a', 'b', 'c', 0}},
    {"alpha blank", 0x01, 3, {0, 'b', 'c'}, true, {}},
    {"bytes", 0x18, 2, {0, 7}, false, {0, 7}},
    {"bytes blank", 0x18, 2, {0, 0}, true, {}},
    {"bcd 40.5",
     0x17,
     1,
     {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x05},
     false,
     Bcd(false, 1, {0x04, 0x05})},
    {"bcd minus 40.5",
     0x17,
     1,
     {0x41, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
      0xFB, 0xFA},
     false,
     Bcd(true, 1, {0x04, 0x05})},
    {"bcd garbage digits read 0",
     0x17,
     1,
     {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x0C},
     false,
     Bcd(false, 1, {0x04, 0x00})},
    {"bcd decimals only is blank",
     0x17,
     2,
     {0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     true,
     {}},
};

class FieldCodec : public ::testing::TestWithParam<Case> {};

TEST_P(FieldCodec, Decodes) {
  const Case& c = GetParam();
  ColumnLayout column;
  column.type = c.type;
  column.size = c.size;
  column.width = ColumnWidth(c.type, c.size);
  ASSERT_EQ(column.width, c.stored.size());
  const pel_field_descriptor d = DescribeColumn(column, 1);
  std::vector<std::uint8_t> out(d.value_size, 0xEE);
  EXPECT_EQ(DecodeField(column, d, c.stored.data(), out.data()), c.blank);
  if (c.blank)
    EXPECT_EQ(out, std::vector<std::uint8_t>(d.value_size, 0));
  else
    EXPECT_EQ(out, c.value);
}

INSTANTIATE_TEST_SUITE_P(Values, FieldCodec, ::testing::ValuesIn(kCodecCases),
                         [](const auto& param) {
                           std::string name = param.param.name;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(FieldCodec, BlobValueIsItsLength) {
  ColumnLayout column{0x0C, 11, 11, 0, "Memo"};
  std::vector<std::uint8_t> stored(11, 0);
  stored[1 + 4] = 40;  // length after 1 leader byte and the 4-byte pointer
  const auto d = DescribeColumn(column, 1);
  std::uint32_t length = 0;
  EXPECT_FALSE(DecodeField(column, d, stored.data(), reinterpret_cast<std::uint8_t*>(&length)));
  EXPECT_EQ(length, 40u);
}

TEST(FieldCodec, UnknownTypesAndSizesHaveNoWidth) {
  EXPECT_EQ(ColumnWidth(0x07, 8), 0);
  EXPECT_EQ(ColumnWidth(0x03, 4), 0);
  EXPECT_EQ(ColumnWidth(0x0C, 9), 0);
  EXPECT_EQ(ColumnWidth(0x17, 33), 0);
  EXPECT_EQ(ColumnWidth(0x17, 6), 17);
}

}  // namespace
}  // namespace pellory::engine::test
