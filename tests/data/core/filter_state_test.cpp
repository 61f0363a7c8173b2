// The cursor's filter setters: when they compile, apply, move and notify,
// and that a failure leaves everything as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "main_record_view.h"

namespace pellory::data::testing {
namespace {

using ::testing::ElementsAre;

// The record view, opened, with nothing logged yet.
struct OpenRecordView : RecordView {
  OpenRecordView() {
    table.Open();
    log.clear();
    table.calls.clear();
  }
};

std::vector<std::string> ShownBoth(const std::string& first, const std::string& second) {
  std::vector<std::string> out;
  for (const std::string& shown : {first, second})
    for (const char* control : {"DBEdit2", "DBMemo1", "DBImage1", "DBEdit1"}) {
      out.push_back(std::string(control) + " shows " + shown);
      if (std::string(control) == "DBEdit1") out.push_back("DBNavigator1 empty");
    }
  return out;
}

TEST(FilterState, ACategoryClickTellsTheRecordViewTwice) {
  OpenRecordView view;
  view.table.MoveBy(4);
  view.log.clear();
  view.table.calls.clear();
  view.ClickCategory("record 2");
  EXPECT_EQ(view.log, ShownBoth("record 1", "record 2"));
  EXPECT_THAT(view.table.calls, ElementsAre("start", "read 1", "register record 2", "start",
                                            "apply record 2", "start", "read 2"));
  EXPECT_TRUE(view.table.Filtered());
  EXPECT_EQ(view.table.Filter(), "record 2");
  view.table.Next();
  EXPECT_EQ(view.table.CurrentRecord(), 20);
}

TEST(FilterState, TheSameCategoryTwiceRecompilesNothingButMovesAgain) {
  OpenRecordView view;
  view.ClickCategory("record 1");
  view.table.MoveBy(3);
  ASSERT_EQ(view.table.CurrentRecord(), 12);
  view.table.calls.clear();
  view.log.clear();
  view.ClickCategory("record 1");
  EXPECT_THAT(view.table.calls, ElementsAre("start", "lift record 1", "start", "read 1", "start",
                                            "apply record 1", "start", "read 1"));
  EXPECT_EQ(view.table.CurrentRecord(), 1);
  EXPECT_EQ(view.log.size(), 10U);
}

TEST(FilterState, AllFontsLiftsTheFilterAndKeepsItsText) {
  OpenRecordView view;
  view.ClickCategory("record 2");
  view.table.SetFiltered(false);
  EXPECT_EQ(view.table.Filter(), "record 2");
  EXPECT_EQ(view.table.CurrentRecord(), 1);
  view.table.Last();
  EXPECT_EQ(view.table.CurrentRecord(), 20);
  view.table.Prior();
  EXPECT_EQ(view.table.CurrentRecord(), 19);
}

TEST(FilterState, ANewTextWithTheFilterOffMovesNothing) {
  OpenRecordView view;
  view.table.MoveBy(5);
  view.log.clear();
  view.table.SetFilter("record 2");
  EXPECT_EQ(view.table.CurrentRecord(), 6);
  EXPECT_TRUE(view.log.empty());
}

TEST(FilterState, ATextThatDoesNotCompileChangesNothing) {
  OpenRecordView view;
  view.ClickCategory("record 1");
  view.table.MoveBy(2);
  view.log.clear();
  view.table.calls.clear();
  EXPECT_THROW(view.table.SetFilter("record (2"), std::runtime_error);
  EXPECT_EQ(view.table.Filter(), "record 1");
  EXPECT_TRUE(view.table.Filtered());
  EXPECT_EQ(view.table.CurrentRecord(), 11);
  EXPECT_TRUE(view.log.empty());
  EXPECT_TRUE(view.table.calls.empty());
  // The old filter is still the one in force.
  view.table.Next();
  EXPECT_EQ(view.table.CurrentRecord(), 12);
}

TEST(FilterState, ChangingTheTextWhileFilteredSwapsFiltersAndGoesToTheFirstMatch) {
  OpenRecordView view;
  view.ClickCategory("record 1");
  view.table.calls.clear();
  view.table.SetFilter("record 2");
  EXPECT_THAT(view.table.calls, ElementsAre("register record 2", "start", "drop record 1",
                                            "apply record 2", "start", "read 2"));
  view.table.SetFilter("");
  EXPECT_EQ(view.table.CurrentRecord(), 1);
  view.table.Last();
  EXPECT_EQ(view.table.CurrentRecord(), 20);
}

TEST(FilterState, AClosedCursorStoresAndOpeningApplies) {
  MemoryDataSet table(20);
  table.SetFilter("record 2");
  table.SetFilterOptions(foCaseInsensitive);
  table.SetFiltered(true);
  EXPECT_TRUE(table.calls.empty());
  EXPECT_TRUE(table.FilterOptions().Contains(foCaseInsensitive));
  table.Open();
  EXPECT_THAT(table.calls, ElementsAre("open", "register record 2", "apply record 2", "read 2"));
  EXPECT_EQ(table.CurrentRecord(), 2);
}

TEST(FilterState, AStoredTextIsRegisteredButNotAppliedWhenUnfiltered) {
  MemoryDataSet table(20);
  table.SetFilter("category = 'Captial Sans Serif'");
  table.Open();
  EXPECT_THAT(table.calls,
              ElementsAre("open", "register category = 'Captial Sans Serif'", "read 1"));
  EXPECT_EQ(table.CurrentRecord(), 1);
}

}  // namespace
}  // namespace pellory::data::testing
