// Comparisons of numbers, BCD, dates, times, timestamps and booleans by
// value, each in the engine's value format.
#include <gtest/gtest.h>

#include <functional>

#include "filter_eval_support.h"

namespace pellory::engine::filter {
namespace {

using namespace testing;

// 32 digits right-aligned, `decimals` of them the fraction.
struct ValueCase {
  const char* filter;
  const char* column;
  std::vector<std::uint8_t> value;
  bool passes;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
  *os << c.filter;
}

class TypedValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(TypedValues, CompareByValue) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(Passes(c.filter, FakeRecord().Set(c.column, c.value)), c.passes);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, TypedValues,
    ::testing::Values(ValueCase{"Count = -5", "Count", LittleEndian<std::int16_t>(-5), true},
                      ValueCase{"Count > -5", "Count", LittleEndian<std::int16_t>(-6), false},
                      ValueCase{"Count < 0", "Count", LittleEndian<std::int16_t>(-32768), true},
                      ValueCase{"Total >= 70000", "Total", LittleEndian<std::int32_t>(70000), true},
                      ValueCase{"Total > 70000", "Total", LittleEndian<std::int32_t>(70000), false},
                      ValueCase{"Price < 2.5", "Price", LittleEndian<double>(2.25), true},
                      ValueCase{"Price = 2.5", "Price", LittleEndian<double>(2.5), true},
                      ValueCase{"Code > 40000", "Code", LittleEndian<std::uint16_t>(65535), true},
                      ValueCase{"Amount = 12.34", "Amount", Bcd(false, 2, {0x12, 0x34}), true},
                      ValueCase{"Amount > 12.34", "Amount", Bcd(false, 2, {0x12, 0x35}), true},
                      ValueCase{"Amount > -1", "Amount", Bcd(true, 2, {0x02, 0x00}), false},
                      ValueCase{"Amount < -1", "Amount", Bcd(true, 2, {0x02, 0x00}), true},
                      ValueCase{"Amount = 0", "Amount", Bcd(true, 2, {0x00}), true}));

INSTANTIATE_TEST_SUITE_P(
    DatesAndTimes, TypedValues,
    ::testing::Values(
        ValueCase{"Born = '1970-01-01'", "Born", LittleEndian<std::int32_t>(kDay1970), true},
        ValueCase{"Born > '12/31/1969'", "Born", LittleEndian<std::int32_t>(kDay1970), true},
        ValueCase{"Born < '1970-01-01'", "Born", LittleEndian<std::int32_t>(kDay1970), false},
        ValueCase{"At = '13:45:30.250'", "At", LittleEndian<std::int32_t>(49530250), true},
        ValueCase{"At < '12:00'", "At", LittleEndian<std::int32_t>(49530250), false},
        ValueCase{"Stamp = '1970-01-01 00:00:01'", "Stamp",
                  LittleEndian<double>(kDay1970 * 86400000.0 + 1000), true},
        ValueCase{"Stamp > '1970-01-01'", "Stamp", LittleEndian<double>(kDay1970 * 86400000.0 + 1),
                  true},
        ValueCase{"Flag = True", "Flag", LittleEndian<std::int16_t>(1), true},
        ValueCase{"Flag = True", "Flag", LittleEndian<std::int16_t>(0), false},
        ValueCase{"Flag <> True", "Flag", LittleEndian<std::int16_t>(0), true}));

// Fields of different kinds or decimals compare by value too.
TEST(TypedValues, FieldsCompareAcrossKindsAndDecimals) {
  FakeRecord record;
  record.Set("Amount", Bcd(false, 2, {0x12, 0x34}));      // 12.34
  record.Set("Fine", Bcd(false, 4, {0x12, 0x34, 0x00}));  // 12.3400
  record.Set("Count", LittleEndian<std::int16_t>(12)).Set("Price", LittleEndian<double>(12.34));
  record.Set("Total", LittleEndian<std::int32_t>(12));
  EXPECT_TRUE(Passes("Amount = Fine", record));
  EXPECT_TRUE(Passes("Count = Total", record));
  EXPECT_TRUE(Passes("Count < Amount", record));
  EXPECT_TRUE(Passes("Price = Amount", record));
  record.Set("Fine", Bcd(true, 4, {0x12, 0x34, 0x00}));
  EXPECT_TRUE(Passes("Fine < Amount", record));
}

}  // namespace
}  // namespace pellory::engine::filter
