// Filters on a cursor: the engine keeps its own copy, skips failing records
// in every direction while a filter is active, searches memo text, and
// refuses damaged buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "filter_buffer.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

using NameList = std::vector<std::string>;

// One filter and the names of the records that pass it, in table order.
struct FilterCase {
  const char* name;
  std::vector<std::uint8_t> buffer;
  NameList expected;
};

class CursorFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    PELLORY_NEED_SAMPLES();
    table_ = std::make_unique<OpenTable>(SampleDir(), "TypSammlung.DB");
    ASSERT_EQ(table_->result(), PEL_OK);
    cursor_ = table_->cursor();
  }
  // Adds and activates; skips the test when the engine has no evaluator.
  pel_filter* Apply(const std::vector<std::uint8_t>& buffer) {
    pel_filter* filter = nullptr;
    const pel_result r = pel_filter_add(cursor_, buffer.data(), buffer.size(), &filter);
    if (r == PEL_NOT_SUPPORTED) return nullptr;
    EXPECT_EQ(r, PEL_OK);
    EXPECT_EQ(pel_filter_activate(cursor_, filter), PEL_OK);
    return filter;
  }
  std::vector<std::string> Names(bool backwards = false) {
    std::vector<std::string> names;
    std::vector<std::uint8_t> record(table_->info().record_size);
    backwards ? pel_cursor_to_end(cursor_) : pel_cursor_to_start(cursor_);
    while ((backwards ? pel_cursor_prior : pel_cursor_next)(cursor_, record.data()) == PEL_OK)
      names.push_back(table_->Text(record, 1));
    return names;
  }
  // Applies each case's filter alone and compares the passing names.
  void ExpectPassing(const std::vector<FilterCase>& cases) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      pel_filter* filter = Apply(c.buffer);
      if (!filter) GTEST_SKIP() << "engine built without filter evaluation";
      EXPECT_EQ(Names(), c.expected);
      ASSERT_EQ(pel_filter_drop(cursor_, filter), PEL_OK);
    }
  }

  EngineSession session_;
  std::unique_ptr<OpenTable> table_;
  pel_cursor* cursor_ = nullptr;
};

TEST_F(CursorFilter, SkipsFailingRecordsBothWays) {
  pel_filter* filter = Apply(FilterBuffer::Equal(1, "Alpha", "Z", 1));
  if (!filter) GTEST_SKIP() << "engine built without filter evaluation";
  EXPECT_EQ(Names(), NameList({"Zweite Zeile"}));
  EXPECT_EQ(Names(true), NameList({"Zweite Zeile"}));
  std::uint32_t count = 0;
  ASSERT_EQ(pel_cursor_count_exact(cursor_, &count), PEL_OK);
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(pel_cursor_count(cursor_, &count), PEL_OK);
  EXPECT_EQ(count, 5u);  // the table's own count ignores filters
  ASSERT_EQ(pel_filter_deactivate(cursor_, filter), PEL_OK);
  EXPECT_EQ(Names().size(), 5u);
  ASSERT_EQ(pel_filter_activate(cursor_, filter), PEL_OK);
  EXPECT_EQ(Names().size(), 1u);
  ASSERT_EQ(pel_filter_drop(cursor_, filter), PEL_OK);
  EXPECT_EQ(Names().size(), 5u);
  EXPECT_EQ(pel_filter_activate(cursor_, filter), PEL_INVALID_HANDLE);
}

TEST_F(CursorFilter, ExactPrefixAndCase) {
  const std::vector<FilterCase> cases = {
      {"exact", FilterBuffer::Equal(1, "Alpha", "Erste Zeile"), {"Erste Zeile"}},
      {"exact is whole value", FilterBuffer::Equal(1, "Alpha", "Erste"), {}},
      {"prefix", FilterBuffer::Equal(1, "Alpha", "Erste", 5), {"Erste Zeile"}},
      {"case respected", FilterBuffer::Equal(1, "Alpha", "erste", 5), {}},
      {"case ignored", FilterBuffer::Equal(1, "Alpha", "erste", 5, true), {"Erste Zeile"}},
      {"longer prefix than value", FilterBuffer::Equal(1, "Alpha", "Null-Werte and more", 19), {}},
  };
  ExpectPassing(cases);
}

// The one memo of the table lies in the blob file; its bytes are compared in
// the table's code page (cp1252 here), as alpha values are.
TEST_F(CursorFilter, LikeSearchesMemoText) {
  const NameList fifth = {"F\xC3\xBCnfter Datensatz"};
  const std::vector<FilterCase> cases = {
      {"word inside", FilterBuffer::Like(10, "Memo", "%Memo im%"), fifth},
      {"code page byte", FilterBuffer::Like(10, "Memo", "%F\xFCnften%"), fifth},
      {"up to the last byte", FilterBuffer::Like(10, "Memo", "%Datensat'"), fifth},
      {"case respected", FilterBuffer::Like(10, "Memo", "%memo im%"), {}},
      {"case ignored", FilterBuffer::Like(10, "Memo", "%MEMO IM%", 0, true), fifth},
      {"prefix", FilterBuffer::Like(10, "Memo", "Dies", 4), fifth},
      {"not in it", FilterBuffer::Like(10, "Memo", "%Zeile%"), {}},
  };
  ExpectPassing(cases);
}

// A memo of 555 bytes keeps only its first 240 in the record: five line
// breaks are found only by reading the rest from the blob file.
TEST(MemoFilter, ComparesTheWholeMemoNotItsLeader) {
  PELLORY_NEED_SAMPLES();
  EngineSession session;
  OpenTable table(SampleDir(), "memo.db");
  ASSERT_EQ(table.result(), PEL_OK);
  const struct {
    std::string pattern;
    std::uint32_t passing;
  } cases[] = {{"%\n%\n%\n%\n%\n", 1}, {"%\n", 2}, {"%\n%\n%\n%\n%\n%\n", 0}};
  for (const auto& c : cases) {
    const auto buffer = FilterBuffer::Like(2, "MEMO", c.pattern);
    pel_filter* filter = nullptr;
    const pel_result added = pel_filter_add(table.cursor(), buffer.data(), buffer.size(), &filter);
    if (added == PEL_NOT_SUPPORTED) GTEST_SKIP() << "engine built without filter evaluation";
    ASSERT_EQ(added, PEL_OK);
    ASSERT_EQ(pel_filter_activate(table.cursor(), filter), PEL_OK);
    std::uint32_t count = 0;
    ASSERT_EQ(pel_cursor_count_exact(table.cursor(), &count), PEL_OK);
    EXPECT_EQ(count, c.passing) << c.pattern;
    ASSERT_EQ(pel_filter_drop(table.cursor(), filter), PEL_OK);
  }
}

TEST_F(CursorFilter, KeepsItsOwnCopyOfTheBuffer) {
  auto buffer = FilterBuffer::Equal(1, "Alpha", "Zweite Zeile");
  pel_filter* filter = Apply(buffer);
  if (!filter) GTEST_SKIP() << "engine built without filter evaluation";
  std::fill(buffer.begin(), buffer.end(), 0xEE);
  EXPECT_EQ(Names(), NameList({"Zweite Zeile"}));
}

TEST_F(CursorFilter, RefusesDamagedBuffers) {
  const auto good = FilterBuffer::Equal(1, "Alpha", "Z", 1);
  pel_filter* probe = nullptr;
  if (pel_filter_add(cursor_, good.data(), good.size(), &probe) == PEL_NOT_SUPPORTED)
    GTEST_SKIP() << "engine built without filter evaluation";
  const struct {
    const char* name;
    std::size_t at;
    std::uint8_t byte;
  } damage[] = {
      {"version", 0, 3},
      {"total size", 2, 0xFF},
      {"node start", 6, 200},
      {"literal start", 8, 0xF0},
      {"node class", 10, 9},
      {"operator", 14, 99},
      {"field node offset", 22, 0xF0},
      {"field number", 34, 77},
      {"constant size", 46, 0xFF},
  };
  for (const auto& d : damage) {
    auto bad = good;
    ASSERT_LT(d.at, bad.size());
    bad[d.at] = d.byte;
    pel_filter* filter = nullptr;
    EXPECT_EQ(pel_filter_add(cursor_, bad.data(), bad.size(), &filter), PEL_FILTER_INVALID)
        << d.name;
  }
  pel_filter* filter = nullptr;
  EXPECT_EQ(pel_filter_add(cursor_, good.data(), good.size() - 3, &filter), PEL_FILTER_INVALID);
  EXPECT_EQ(pel_filter_add(cursor_, nullptr, 10, &filter), PEL_INVALID_ARGUMENT);
}

}  // namespace
}  // namespace pellory::engine::test
