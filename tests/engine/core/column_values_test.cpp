// A column's collected values: equal values share one number, values that
// differ (also only by being blank, or by bytes after a zero) do not, and a
// column with more values than it can number is refused. A text value
// given as its bytes alone is the same value as when given whole.
#include "column_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

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

// Text values given as their bytes before the zero byte: the same numbers
// as the whole values, also among values that agree in their first and last
// eight bytes and their length and differ only in between.
TEST(ColumnValues, TextBytesAreTheSameValueAsTheWholeValue) {
  constexpr std::uint16_t kSize = 33;  // a 32-byte text column and its zero
  const std::string texts[] = {
      "",
      "Serif",
      "Italic Serif",
      "Italic Sans Serif",
      "Decorative one Wingdings",
      "Decorative two Wingdings",
      "Decorative  one Wingdings",
      std::string(32, 'W'),  // the whole width, no zero byte in the record
  };
  ColumnValues byText(kSize, 0), byValue(kSize, 0);
  std::set<std::uint8_t> numbers;
  for (int round = 0; round < 2; ++round) {
    for (const std::string& text : texts) {
      SCOPED_TRACE(text);
      Bytes whole(kSize, 0);
      std::copy(text.begin(), text.end(), whole.begin());
      const auto fromText =
          byText.InternText(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
      const auto fromWhole = byValue.Intern(whole.data(), text.empty());
      ASSERT_TRUE(fromText && fromWhole);
      EXPECT_EQ(*fromText, *fromWhole);
      EXPECT_EQ(byText.ValueOf(*fromText).bytes, whole);
      EXPECT_EQ(byText.ValueOf(*fromText).blank, text.empty());
      // Mixed in one column, the two ways meet the same value.
      EXPECT_EQ(byText.Intern(whole.data(), text.empty()), fromText);
      numbers.insert(*fromText);
    }
  }
  EXPECT_EQ(numbers.size(), std::size(texts));
  EXPECT_EQ(byText.ValueCount(), std::size(texts));
}

}  // namespace
}  // namespace pellory::engine::test
