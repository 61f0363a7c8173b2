// Filtered scans give the records that pass, in both directions and in
// counts, whichever way the engine reaches the answer: record by record from
// the file, through a column's collected values while they are being
// collected, through them once complete, or record by record again after a
// column turned out to have too many values. Every case runs twice on one
// cursor (the second run finds the values the first collected) and once
// more on a second cursor of the same file.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "filter_buffer.h"
#include "pellory/engine/table_writer.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

constexpr std::uint32_t kRows = 5000;
constexpr std::uint32_t kWingRows = 40;
const char* const kCategories[] = {"Capitals Serif", "Capitals Sans Serif", "Handwriting",
                                   "Italic Serif", "Normal Sans Serif"};

// Row k: Name "Font k"; Category cycling through kCategories, blank every
// 97th row, "Wingdings" for the last kWingRows rows; Code k mod 7, blank
// every 13th row (a blank is stored as zeros, like the value 0 is not);
// Serial "S" k, a different value in every row.
std::string CategoryOf(std::uint32_t k) {
  if (k + kWingRows >= kRows) return "Wingdings and symbols";
  if (k % 97 == 5) return "";
  return kCategories[k % 5];
}

bool CodeBlank(std::uint32_t k) {
  return k % 13 == 4;
}

// prefix and k; appended, as GCC 12 wrongly warns of overlapping copies in
// "text" + std::to_string(k).
std::string Numbered(const char* prefix, std::uint32_t k) {
  std::string text = prefix;
  text += std::to_string(k);
  return text;
}

void WriteScanTable(const fs::path& dir, const std::string& password) {
  using writer::FieldType;
  writer::TableWriter table(dir, "scan",
                            {{"Name", FieldType::Alpha, 16},
                             {"Category", FieldType::Alpha, 30},
                             {"Code", FieldType::Long, 0},
                             {"Serial", FieldType::Alpha, 12}},
                            {.password = password, .blockKiB = 1});
  for (std::uint32_t k = 0; k < kRows; ++k)
    table.Append({Numbered("Font ", k), CategoryOf(k),
                  CodeBlank(k) ? writer::Value(writer::Blank{}) : std::int64_t{k % 7},
                  Numbered("S", k)});
  table.Finish();
}

using Rows = std::vector<std::uint32_t>;
using Predicate = std::function<bool(std::uint32_t)>;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

struct ScanCase {
  const char* name;
  std::vector<std::vector<std::uint8_t>> filters;  // all active at once
  Predicate passes;
};

const ScanCase kScanCases[] = {
    {"prefix_on_category",
     {FilterBuffer::Equal(2, "Category", "Capitals", 8)},
     [](std::uint32_t k) { return StartsWith(CategoryOf(k), "Capitals"); }},
    {"only_the_last_rows",
     {FilterBuffer::Equal(2, "Category", "Wing", 4)},
     [](std::uint32_t k) { return k + kWingRows >= kRows; }},
    {"no_row",
     {FilterBuffer::Equal(2, "Category", "Roman", 5)},
     [](std::uint32_t) { return false; }},
    {"whole_value",
     {FilterBuffer::Equal(2, "Category", "Handwriting")},
     [](std::uint32_t k) { return CategoryOf(k) == "Handwriting"; }},
    {"blank_category",
     {FilterBuffer::IsBlank(2, "Category")},
     [](std::uint32_t k) { return CategoryOf(k).empty(); }},
    {"integer_field",
     {FilterBuffer::EqualInteger(3, "Code", 3)},
     [](std::uint32_t k) { return k % 7 == 3 && !CodeBlank(k); }},
    {"integer_zero",
     {FilterBuffer::EqualInteger(3, "Code", 0)},
     [](std::uint32_t k) { return k % 7 == 0 && !CodeBlank(k); }},
    {"blank_integer", {FilterBuffer::IsBlank(3, "Code")}, CodeBlank},
    {"two_collected_fields",
     {FilterBuffer::Equal(2, "Category", "Italic", 6), FilterBuffer::EqualInteger(3, "Code", 2)},
     [](std::uint32_t k) {
       return StartsWith(CategoryOf(k), "Italic") && k % 7 == 2 && !CodeBlank(k);
     }},
    // Far more than 255 values: the column is given up part way through.
    {"too_many_values",
     {FilterBuffer::Like(4, "Serial", "S1%")},
     [](std::uint32_t k) { return StartsWith(std::to_string(k), "1"); }},  // "S" and its number
    {"collected_and_not",
     {FilterBuffer::Equal(2, "Category", "Normal", 6), FilterBuffer::Like(4, "Serial", "%7")},
     [](std::uint32_t k) { return StartsWith(CategoryOf(k), "Normal") && k % 10 == 7; }},
};

void PrintTo(const ScanCase& c, std::ostream* out) {
  *out << c.name;
}

struct Variant {
  const char* name;
  const char* password;
};

void PrintTo(const Variant& v, std::ostream* out) {
  *out << v.name;
}
const Variant kVariants[] = {{"plain", ""}, {"encrypted", "scan-pass"}};

class FilteredScan : public ::testing::TestWithParam<std::tuple<ScanCase, Variant>> {
 protected:
  void SetUp() override {
    WriteScanTable(dir_.path(), std::get<1>(GetParam()).password);
    if (*std::get<1>(GetParam()).password) {
      ASSERT_EQ(pel_password_add(std::get<1>(GetParam()).password), PEL_OK);
    }
  }

  // Adds and activates the case's filters; false when the engine has none.
  static bool Apply(const OpenTable& table, const ScanCase& c, std::vector<pel_filter*>* added) {
    for (const auto& buffer : c.filters) {
      pel_filter* filter = nullptr;
      const pel_result r = pel_filter_add(table.cursor(), buffer.data(), buffer.size(), &filter);
      if (r == PEL_NOT_SUPPORTED) return false;
      EXPECT_EQ(r, PEL_OK);
      EXPECT_EQ(pel_filter_activate(table.cursor(), filter), PEL_OK);
      added->push_back(filter);
    }
    return true;
  }

  // The rows the cursor passes by, read from the records' Name fields.
  static Rows Scan(const OpenTable& table, bool backwards) {
    Rows rows;
    std::vector<std::uint8_t> record(table.info().record_size);
    backwards ? pel_cursor_to_end(table.cursor()) : pel_cursor_to_start(table.cursor());
    pel_result r;
    while ((r = (backwards ? pel_cursor_prior : pel_cursor_next)(table.cursor(), record.data())) ==
           PEL_OK)
      rows.push_back(static_cast<std::uint32_t>(std::stoul(table.Text(record, 1).substr(5))));
    EXPECT_EQ(r, backwards ? PEL_AT_BEGINNING : PEL_AT_END);
    return rows;
  }

  static void ExpectRows(const OpenTable& table, const Rows& expected) {
    EXPECT_EQ(Scan(table, false), expected);
    Rows backwards = Scan(table, true);
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(backwards, expected);
    std::uint32_t count = 0;
    ASSERT_EQ(pel_cursor_count_exact(table.cursor(), &count), PEL_OK);
    EXPECT_EQ(count, expected.size());
  }

  EngineSession session_;
  ScratchDir dir_;
};

TEST_P(FilteredScan, GivesThePassingRowsEveryTime) {
  const ScanCase& c = std::get<0>(GetParam());
  Rows expected;
  for (std::uint32_t k = 0; k < kRows; ++k)
    if (c.passes(k)) expected.push_back(k);

  OpenTable first(dir_.path(), "scan.DB");
  ASSERT_EQ(first.result(), PEL_OK);
  std::vector<pel_filter*> added;
  if (!Apply(first, c, &added)) GTEST_SKIP() << "engine built without filter evaluation";
  {
    SCOPED_TRACE("first cursor, first run");
    ExpectRows(first, expected);
  }
  {
    SCOPED_TRACE("first cursor, second run");
    ExpectRows(first, expected);
  }
  OpenTable second(dir_.path(), "scan.DB");
  ASSERT_EQ(second.result(), PEL_OK);
  std::vector<pel_filter*> again;
  ASSERT_TRUE(Apply(second, c, &again));
  SCOPED_TRACE("second cursor");
  ExpectRows(second, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FilteredScan,
                         ::testing::Combine(::testing::ValuesIn(kScanCases),
                                            ::testing::ValuesIn(kVariants)),
                         [](const auto& param) {
                           return std::string(std::get<0>(param.param).name) + "_" +
                                  std::get<1>(param.param).name;
                         });

// A scan that stops at its first match leaves the column collected only
// part of the way; later filters on the column take the collected part and
// read the rest, and the other filter's results do not leak into theirs.
TEST(FilteredScanInterrupted, LaterFiltersTakeThePartCollected) {
  ScratchDir dir;
  WriteScanTable(dir.path(), "scan-pass");
  EngineSession session;
  ASSERT_EQ(pel_password_add("scan-pass"), PEL_OK);
  OpenTable table(dir.path(), "scan.DB");
  ASSERT_EQ(table.result(), PEL_OK);
  const auto handwriting = FilterBuffer::Equal(2, "Category", "Hand", 4);
  pel_filter* filter = nullptr;
  if (pel_filter_add(table.cursor(), handwriting.data(), handwriting.size(), &filter) ==
      PEL_NOT_SUPPORTED)
    GTEST_SKIP() << "engine built without filter evaluation";
  ASSERT_EQ(pel_filter_activate(table.cursor(), filter), PEL_OK);
  // From the end backwards: the last Handwriting row before the Wingdings.
  std::vector<std::uint8_t> record(table.info().record_size);
  ASSERT_EQ(pel_cursor_to_end(table.cursor()), PEL_OK);
  ASSERT_EQ(pel_cursor_prior(table.cursor(), record.data()), PEL_OK);
  EXPECT_EQ(table.Text(record, 1), "Font 4957");
  // From the start: the first two, then stop.
  ASSERT_EQ(pel_cursor_to_start(table.cursor()), PEL_OK);
  ASSERT_EQ(pel_cursor_next(table.cursor(), record.data()), PEL_OK);
  EXPECT_EQ(table.Text(record, 1), "Font 2");
  ASSERT_EQ(pel_cursor_next(table.cursor(), record.data()), PEL_OK);
  EXPECT_EQ(table.Text(record, 1), "Font 7");
  ASSERT_EQ(pel_filter_drop(table.cursor(), filter), PEL_OK);

  const auto serif = FilterBuffer::Equal(2, "Category", "Capitals Serif");
  ASSERT_EQ(pel_filter_add(table.cursor(), serif.data(), serif.size(), &filter), PEL_OK);
  ASSERT_EQ(pel_filter_activate(table.cursor(), filter), PEL_OK);
  std::uint32_t count = 0;
  ASSERT_EQ(pel_cursor_count_exact(table.cursor(), &count), PEL_OK);
  std::uint32_t expected = 0;
  for (std::uint32_t k = 0; k < kRows; ++k) expected += CategoryOf(k) == "Capitals Serif";
  EXPECT_EQ(count, expected);
}

}  // namespace
}  // namespace pellory::engine::test
