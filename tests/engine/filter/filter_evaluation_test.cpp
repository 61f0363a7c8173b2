// Which records pass: the main window's category filters, case, blanks,
// LIKE, IN and the logical operators, over buffers the compiler made.
#include <gtest/gtest.h>

#include "filter_eval_support.h"

namespace pellory::engine::filter {
namespace {

using namespace testing;

struct CategoryCase {
  const char* filter;
  const char* category;
  bool passes;
};

void PrintTo(const CategoryCase& c, std::ostream* os) {
  *os << c.filter << " on '" << c.category << "'";
}

class CategoryFilters : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(CategoryFilters, MatchWholeValuesOrPrefixes) {
  const CategoryCase& c = GetParam();
  EXPECT_EQ(Passes(c.filter, FakeRecord().Text("Category", c.category)), c.passes);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, CategoryFilters,
    ::testing::Values(CategoryCase{"Category ='Italic Sans *'", "Italic Sans Serif", true},
                      CategoryCase{"Category ='Italic Sans *'", "Italic Sans", false},
                      CategoryCase{"Category ='Italic Sans *'", "italic sans serif", false},
                      CategoryCase{"Category ='Italic Sans *'", "Italic Sans ", true},
                      CategoryCase{"Category ='Wing*'", "Wingdings", true},
                      CategoryCase{"Category ='Wing*'", "Wing", true},
                      CategoryCase{"Category ='Wing*'", "Win", false},
                      CategoryCase{"Category ='Wing*'", "wingdings", false},
                      CategoryCase{"Category ='Capitals San*'", "Capitals Sans Serif", true},
                      CategoryCase{"Category ='Capitals San*'", "Capitals Serif", false},
                      CategoryCase{"Category ='Normal Sans*'", "Normal Sans Serif", true},
                      CategoryCase{"Category ='Handwriting'", "Handwriting", true},
                      CategoryCase{"Category ='Handwriting'", "Handwriting ", false},
                      CategoryCase{"Category ='Handwriting'", "Handwritin", false},
                      CategoryCase{"Category ='Handwriting'", "handwriting", false},
                      CategoryCase{"Category ='Capitals Serif'", "Capitals Serif", true},
                      CategoryCase{"Category ='*'", "*", true},
                      CategoryCase{"Category ='*'", "Wingdings", false},
                      CategoryCase{"Category =''", "", true},
                      CategoryCase{"Category <>'Handwriting'", "Wingdings", true},
                      CategoryCase{"Category <>'Handwriting'", "Handwriting", false},
                      CategoryCase{"Category <>'Wing*'", "Wingdings", false},
                      CategoryCase{"Category <>'Wing*'", "Normal Serif", true},
                      CategoryCase{"Category > 'M'", "Normal Serif", true},
                      CategoryCase{"Category < 'M'", "Normal Serif", false},
                      CategoryCase{"Category >= 'Wing'", "Wing", true},
                      CategoryCase{"Category <= 'Wing'", "Wingdings", false}));

TEST(FilterEvaluation, CaseOptionIgnoresTheCaseOfLetters) {
  const data::filter::FilterCompileOptions caseless{.caseInsensitive = true};
  EXPECT_TRUE(Passes("Category ='Italic Sans *'",
                     FakeRecord().Text("Category", "italic sans serif"), caseless));
  EXPECT_TRUE(
      Passes("Category ='Handwriting'", FakeRecord().Text("Category", "HANDWRITING"), caseless));
  EXPECT_FALSE(
      Passes("Category ='Handwriting'", FakeRecord().Text("Category", "Handwriting!"), caseless));
  EXPECT_FALSE(
      Passes("Category <>'Handwriting'", FakeRecord().Text("Category", "handwriting"), caseless));
}

TEST(FilterEvaluation, NoPartialCompareTakesTheStarLiterally) {
  const data::filter::FilterCompileOptions whole{.noPartialCompare = true};
  EXPECT_FALSE(Passes("Category ='Wing*'", FakeRecord().Text("Category", "Wingdings"), whole));
  EXPECT_TRUE(Passes("Category ='Wing*'", FakeRecord().Text("Category", "Wing*"), whole));
}

struct BlankCase {
  const char* filter;
  bool passesWhenBlank;
};

class BlankValues : public ::testing::TestWithParam<BlankCase> {};

// A blank value passes only the blank test; NOT still inverts a failed
// comparison.
TEST_P(BlankValues, PassOnlyBlankTests) {
  EXPECT_EQ(Passes(GetParam().filter, FakeRecord()), GetParam().passesWhenBlank);
}

INSTANTIATE_TEST_SUITE_P(
    Blank, BlankValues,
    ::testing::Values(BlankCase{"Category IS NULL", true}, BlankCase{"Category = NULL", true},
                      BlankCase{"Category IS NOT NULL", false},
                      BlankCase{"Category <> NULL", false}, BlankCase{"Category = 'x'", false},
                      BlankCase{"Category <> 'x'", false}, BlankCase{"Category = 'x*'", false},
                      BlankCase{"Category <> 'x*'", false}, BlankCase{"Category LIKE '%'", false},
                      BlankCase{"Count < 5", false}, BlankCase{"Count IN (0, 1)", false},
                      BlankCase{"Flag", false}, BlankCase{"NOT Category = 'x'", true},
                      BlankCase{"Sample3 IS NULL", true}, BlankCase{"Category = Filename", false}));

TEST(FilterEvaluation, BlankTestsSeeValues) {
  FakeRecord record;
  record.Text("Category", "Wing").Blob("Sample3", "BM..");
  EXPECT_FALSE(Passes("Category IS NULL", record));
  EXPECT_TRUE(Passes("Category IS NOT NULL", record));
  EXPECT_TRUE(Passes("Sample3 IS NOT NULL", record));
}

struct LogicCase {
  const char* filter;
  bool passes;
};

class LogicAndLists : public ::testing::TestWithParam<LogicCase> {};

// The record: Category "Wingdings", Filename "WING.TTF", Count 3, Flag true.
TEST_P(LogicAndLists, CombineComparisons) {
  FakeRecord record;
  record.Text("Category", "Wingdings").Text("Filename", "WING.TTF");
  record.Set("Count", LittleEndian<std::int16_t>(3)).Set("Flag", LittleEndian<std::int16_t>(1));
  EXPECT_EQ(Passes(GetParam().filter, record), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Logic, LogicAndLists,
    ::testing::Values(
        LogicCase{"Category = 'Wing*' AND Count = 3", true},
        LogicCase{"Category = 'Wing*' AND Count = 4", false},
        LogicCase{"Category = 'x' OR Count = 3", true},
        LogicCase{"Category = 'x' OR Count = 4", false}, LogicCase{"NOT Count = 3", false},
        LogicCase{"NOT (Count = 4 OR Category = 'x')", true}, LogicCase{"Flag", true},
        LogicCase{"NOT Flag", false}, LogicCase{"Flag = False", false},
        LogicCase{"Count IN (1, 2, 3)", true}, LogicCase{"Count IN (1, 2)", false},
        LogicCase{"Category IN ('Wing', 'Wingdings')", true},
        LogicCase{"Category IN ('Wing*')", false},
        LogicCase{"'WING.TTF' IN (Category, Filename)", true},
        LogicCase{"Category LIKE 'Wing%'", true}, LogicCase{"Category LIKE '%dings'", true},
        LogicCase{"Category LIKE 'W_ngd%s'", true}, LogicCase{"Category LIKE '%x%'", false},
        LogicCase{"Category LIKE 'Wing'", false}, LogicCase{"Category LIKE 'wing%'", false},
        LogicCase{"Category LIKE 'Wing*'", true}, LogicCase{"Filename LIKE Filename", true},
        LogicCase{"Category = Filename", false}, LogicCase{"Category <> Filename", true}));

TEST(FilterEvaluation, LikeSearchesMemosThroughTheRecordsBlobReader) {
  FakeRecord record;
  record.Blob("Description", "A bold sans serif for headings");
  EXPECT_TRUE(Passes("Description LIKE '%sans serif%'", record));
  EXPECT_FALSE(Passes("Description LIKE '%italic%'", record));
  EXPECT_TRUE(Passes("Description LIKE '%SANS%'", record, {.caseInsensitive = true}));
  EXPECT_FALSE(Passes("Description LIKE '%sans%'", FakeRecord()));
  // A memo is its whole value: a zero byte inside does not end it.
  const FakeRecord zeroInside = FakeRecord().Blob("Description", std::string("Bold\0sans", 9));
  EXPECT_TRUE(Passes("Description LIKE '%sans'", zeroInside));
  EXPECT_TRUE(Passes("Description LIKE 'Bold_sans'", zeroInside));
}

// An engine that reads no blobs while filtering lets no record through a
// memo search instead of guessing.
TEST(FilterEvaluation, MemoSearchFailsWithoutABlobReader) {
  struct NoBlobs : RecordFields {
    bool Read(std::uint16_t, std::vector<std::uint8_t>& value, bool& blank) const override {
      value.assign(4, 1);
      blank = false;
      return true;
    }
  };
  const auto program = Load(CompileText("Description LIKE '%'"));
  ASSERT_TRUE(program);
  EXPECT_FALSE(program->Passes(NoBlobs()));
}

TEST(FilterEvaluation, UnreadableOrShortValuesNeverMatch) {
  EXPECT_FALSE(Passes(
      "Count = 3", FakeRecord().Set("Count", LittleEndian<std::int16_t>(3)).Unreadable("Count")));
  EXPECT_FALSE(Passes("Count IS NULL", FakeRecord().Unreadable("Count")));
  EXPECT_FALSE(Passes("Total = 3", FakeRecord().Set("Total", {3})));
  EXPECT_FALSE(Passes("Amount = 1", FakeRecord().Set("Amount", std::vector<std::uint8_t>(17, 0))));
  // A text without its zero byte ends where the value ends.
  EXPECT_TRUE(Passes("Category = 'ab'", FakeRecord().Set("Category", {'a', 'b'})));
}

}  // namespace
}  // namespace pellory::engine::filter

namespace pellory::engine::filter {
namespace {

using namespace testing;

class CompiledForms : public ::testing::TestWithParam<const char*> {};

// Whatever the compiler makes, the engine's checker accepts.
TEST_P(CompiledForms, PassTheEnginesCheck) {
  std::string error;
  EXPECT_NE(Load(CompileText(GetParam()), &error), nullptr) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CompiledForms,
    ::testing::Values("Category ='Capitals San*'", "category = 'Captial Sans Serif'",
                      "Category = ''", "Category = '*'", "'Wing*' = Category",
                      "Category LIKE 'W%*'", "Description LIKE '%serif*'",
                      "Description LIKE Filename", "Sample3 IS NULL", "Description IS NOT NULL",
                      "'a' IS NOT NULL", "'a' = 'b'", "1 < 2.5", "True = Flag", "NOT Flag",
                      "Flag OR Flag AND NOT Flag", "Count IN (1, Total, Price, Amount)",
                      "'x' IN (Category, Filename, 'y')", "Amount = Fine", "Born <= '2024-02-29'",
                      "At > '23:59:59.999'", "Stamp <> '9999-12-31 23:59:59.999'",
                      "Code >= 0 AND Code <= 65535", "Total = -2147483648",
                      "Amount = -99999999999999999999999999999.99", "((((Category = 'a'))))"));

}  // namespace
}  // namespace pellory::engine::filter
