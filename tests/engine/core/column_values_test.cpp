// A column's collected values: equal values share one number, values that
// differ (also only by being blank, or by bytes after a zero) do not, and a
// column with more values than it can number is refused.
#include "column_values.h"

#include <gtest/gtest.h>

#include <set>

namespace pellory::engine::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Pair {
  const char* name;
  Bytes a;
  bool aBlank;
  Bytes b;
  bool bBlank;
  bool same;
};

const Pair kPairs[] = {
    {"equal_text", {'A', 'b', 0, 0}, false, {'A', 'b', 0, 0}, false, true},
    {"other_text", {'A', 'b', 0, 0}, false, {'A', 'c', 0, 0}, false, false},
    {"longer_text", {'A', 'b', 0, 0}, false, {'A', 'b', 'c', 0}, false, false},
    {"zero_inside", {0, 1, 0, 0}, false, {1, 0, 0, 0}, false, false},
    {"zero_and_blank", {0, 0, 0, 0}, false, {0, 0, 0, 0}, true, false},
    {"both_blank", {0, 0, 0, 0}, true, {0, 0, 0, 0}, true, true},
};

TEST(ColumnValues, EqualValuesShareANumber) {
  for (const Pair& p : kPairs) {
    SCOPED_TRACE(p.name);
    ColumnValues column(4, 0);
    // Other values first, so that the pair meets a filled table.
    for (std::uint8_t i = 1; i < 100; ++i) {
      const Bytes other = {i, i, i, 0x7F};
      ASSERT_TRUE(column.Intern(other.data(), false));
    }
    const auto a = column.Intern(p.a.data(), p.aBlank);
    const auto b = column.Intern(p.b.data(), p.bBlank);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a == *b, p.same);
    EXPECT_EQ(column.ValueOf(*a).bytes, p.a);
    EXPECT_EQ(column.ValueOf(*a).blank, p.aBlank);
    EXPECT_EQ(column.Intern(p.a.data(), p.aBlank), a);
  }
}

TEST(ColumnValues, RefusesValuesPastItsLimitButKeepsKnowingTheOthers) {
  ColumnValues column(2, 0);
  std::set<std::uint8_t> numbers;
  for (std::size_t i = 0; i < ColumnValues::kMaxValues; ++i) {
    const Bytes value = {static_cast<std::uint8_t>(i), 1};
    const auto number = column.Intern(value.data(), false);
    ASSERT_TRUE(number) << i;
    numbers.insert(*number);
  }
  EXPECT_EQ(numbers.size(), ColumnValues::kMaxValues);
  const Bytes another = {7, 2};
  EXPECT_FALSE(column.Intern(another.data(), false));
  const Bytes known = {7, 1};
  EXPECT_EQ(column.Intern(known.data(), false), std::uint8_t{7});
}

}  // namespace
}  // namespace pellory::engine::test
