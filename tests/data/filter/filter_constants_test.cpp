// Constants take the type of the field they meet and are written in the
// engine's value format.
#include <gtest/gtest.h>

#include "filter_test_support.h"

namespace pellory::data::filter {
namespace {

using namespace testing;

struct ConstantCase {
  const char* text;
  std::uint16_t type;
  std::vector<std::uint8_t> literal;
};

class TypedConstants : public ::testing::TestWithParam<ConstantCase> {};

TEST_P(TypedConstants, TakeTheFieldsTypeAndFormat) {
  const ConstantCase& c = GetParam();
  const auto buffer = Compile(c.text);
  const NodeView root = Root(buffer);
  ASSERT_EQ(root.Class(), 2u) << c.text;
  const NodeView constant = root.Child(1);
  ASSERT_EQ(constant.Class(), 5u);
  EXPECT_EQ(constant.Operand(0), c.type);
  EXPECT_EQ(constant.Operand(1), c.literal.size());
  EXPECT_EQ(constant.Literal(2, c.literal.size()), c.literal);
}

// 12.34 with 2 decimals: 32 digits ...0001234, precision byte 32.
INSTANTIATE_TEST_SUITE_P(
    EveryType, TypedConstants,
    ::testing::Values(
        ConstantCase{"Count = 5", 5, LittleEndian<std::int16_t>(5)},
        ConstantCase{"Count = -32768", 5, LittleEndian<std::int16_t>(-32768)},
        ConstantCase{"Count = '17'", 5, LittleEndian<std::int16_t>(17)},
        ConstantCase{"Total = 70000", 6, LittleEndian<std::int32_t>(70000)},
        ConstantCase{"Total > -2147483648", 6, LittleEndian<std::int32_t>(INT32_MIN)},
        ConstantCase{"Price = 2.5", 7, LittleEndian<double>(2.5)},
        ConstantCase{"Price < 1e3", 7, LittleEndian<double>(1000.0)},
        ConstantCase{"Amount = 12.34", 8, Bcd(false, 2, {0x12, 0x34})},
        ConstantCase{"Amount = -7", 8, Bcd(true, 2, {0x07, 0x00})},
        ConstantCase{"Amount = -0.00", 8, Bcd(false, 2, {})},
        ConstantCase{"Born = '1970-01-01'", 2, LittleEndian<std::int32_t>(kDay1970)},
        ConstantCase{"Born = '1/2/1970'", 2, LittleEndian<std::int32_t>(kDay1970 + 1)},
        ConstantCase{"Born = '0001-01-01'", 2, LittleEndian<std::int32_t>(1)},
        ConstantCase{"Born = '2000-03-01'", 2, LittleEndian<std::int32_t>(730180)},
        ConstantCase{"At = '13:45:30.250'", 10, LittleEndian<std::int32_t>(49530250)},
        ConstantCase{"At = '0:01'", 10, LittleEndian<std::int32_t>(60000)},
        ConstantCase{"Stamp = '1970-01-01 00:00:01'", 11,
                     LittleEndian<double>(kDay1970 * 86400000.0 + 1000)},
        ConstantCase{"Stamp = '1970-01-02'", 11, LittleEndian<double>((kDay1970 + 1) * 86400000.0)},
        ConstantCase{"Flag = True", 4, LittleEndian<std::int16_t>(1)},
        ConstantCase{"Flag <> false", 4, LittleEndian<std::int16_t>(0)},
        ConstantCase{"Code = 65535", 12, LittleEndian<std::uint16_t>(65535)},
        ConstantCase{"Category = 42", 1, {'4', '2', 0}}));

struct RangeCase {
  const char* text;
  const char* message;
};

class RejectedConstants : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RejectedConstants, NameTheTypeOrTheRange) {
  try {
    Compile(GetParam().text);
    FAIL() << GetParam().text << " compiled";
  } catch (const FilterCompileError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRangeOrWrongType, RejectedConstants,
    ::testing::Values(RangeCase{"Count = 32768", "Constant out of range"},
                      RangeCase{"Count = -32769", "Constant out of range"},
                      RangeCase{"Code = -1", "Constant out of range"},
                      RangeCase{"Total = 2147483648", "Constant out of range"},
                      RangeCase{"Total = 99999999999999999999999", "Constant out of range"},
                      RangeCase{"Amount = 123456789012345678901234567890123",
                                "Constant out of range"},
                      RangeCase{"Price = 1e999", "Constant out of range"},
                      RangeCase{"Count = 1.5", "Constant is not correct type SmallInt"},
                      RangeCase{"Count = 'abc'", "Constant is not correct type SmallInt"},
                      RangeCase{"Count = 5-3", "Constant is not correct type SmallInt"},
                      RangeCase{"Total = True", "Constant is not correct type Integer"},
                      RangeCase{"Price = 'nan'", "Constant is not correct type Float"},
                      RangeCase{"Amount = 1.234", "Constant is not correct type BCD"},
                      RangeCase{"Born = 'yesterday'", "Constant is not correct type Date"},
                      RangeCase{"Born = '1999-02-29'", "Constant is not correct type Date"},
                      RangeCase{"Born = 19990101", "Constant is not correct type Date"},
                      RangeCase{"At = '24:00'", "Constant is not correct type Time"},
                      RangeCase{"Stamp = '2000-01-01 x'", "Constant is not correct type DateTime"},
                      RangeCase{"Flag = 2", "Constant is not correct type Boolean"},
                      RangeCase{"Category = True", "Constant is not correct type String"}));

}  // namespace
}  // namespace pellory::data::filter
