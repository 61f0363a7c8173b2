// The record window of a cursor: filling, the moves, the flags and the
// events each move sends, over an in-memory record source.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "memory_dataset.h"
#include "pellory/data/datasource.h"
#include "pellory/data/errors.h"
#include "recording_link.h"

namespace pellory::data::testing {
namespace {

using ::testing::ElementsAre;

// One cursor with a data source and one scroll-aware link of a given size.
struct Window {
  explicit Window(int records, int linkBuffers = 1) : table(records), link("grid", log) {
    source.SetDataSet(&table);
    link.SetBufferCount(linkBuffers);
    link.SetDataSource(&source);
  }
  MemoryDataSet table;
  TDataSource source;
  EventLog log;
  RecordingLink link;
};

TEST(RecordWindow, EmptyCursorHasBothFlagsAndNoCurrentRecord) {
  Window w(0);
  w.table.Open();
  auto expectEmpty = [&] {
    EXPECT_TRUE(w.table.Bof());
    EXPECT_TRUE(w.table.Eof());
    EXPECT_TRUE(w.table.IsEmpty());
    EXPECT_EQ(w.table.ActiveBuffer(), nullptr);
  };
  expectEmpty();
  w.table.First();
  expectEmpty();
  w.table.Last();
  expectEmpty();
  w.log.clear();
  EXPECT_EQ(w.table.MoveBy(1), 0);
  EXPECT_EQ(w.table.MoveBy(-1), 0);
  expectEmpty();
  // Only the check-browse requests before the moves; no data event.
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid check"));
}

TEST(RecordWindow, OneRecordStepsKeepTheRecordAndSwapFlags) {
  Window w(1);
  w.table.Open();
  EXPECT_TRUE(w.table.Bof());
  EXPECT_FALSE(w.table.Eof());
  EXPECT_EQ(w.table.CurrentRecord(), 1);

  w.log.clear();
  EXPECT_EQ(w.table.MoveBy(1), 0);
  EXPECT_EQ(w.table.CurrentRecord(), 1);
  EXPECT_TRUE(w.table.Eof());
  EXPECT_FALSE(w.table.Bof());
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid scroll 0"));

  w.log.clear();
  EXPECT_EQ(w.table.MoveBy(-1), 0);
  EXPECT_EQ(w.table.CurrentRecord(), 1);
  EXPECT_TRUE(w.table.Bof());
  EXPECT_FALSE(w.table.Eof());
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid scroll 0"));
}

TEST(RecordWindow, FirstOnOneRecordClearsTheEndFlag) {
  Window w(1);
  w.table.Open();
  w.table.Last();
  EXPECT_TRUE(w.table.Eof());
  w.table.First();
  EXPECT_TRUE(w.table.Bof());
  EXPECT_FALSE(w.table.Eof());
}

TEST(RecordWindow, WindowOfOneLastThenStepBackReadsThePriorRecord) {
  Window w(20);
  w.table.Open();
  w.table.Last();
  EXPECT_EQ(w.table.CurrentRecord(), 20);
  EXPECT_TRUE(w.table.Eof());
  const int readsBefore = w.table.reads;
  w.log.clear();
  EXPECT_EQ(w.table.MoveBy(-1), -1);
  EXPECT_EQ(w.table.CurrentRecord(), 19);
  EXPECT_EQ(w.table.reads, readsBefore + 1);
  EXPECT_FALSE(w.table.Eof());
  EXPECT_FALSE(w.table.Bof());
  // The window was full, so the records moved up by one: the link is told
  // of the scroll and keeps its first index on the current record.
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid scroll -1"));
  EXPECT_EQ(w.link.FirstRecord(), 0);
}

TEST(RecordWindow, FieldLinksTakeAScrollAsADataChange) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  LoggingFieldLink edit("DBEdit1", "Font Name", log);
  table.AddField(std::make_unique<TStringField>("Font Name", 45));
  edit.SetDataSource(&source);
  table.Open();
  table.Last();
  log.clear();
  table.Prior();
  EXPECT_THAT(log, ElementsAre("DBEdit1 shows record 19"));
}

struct GrowCase {
  int standOn;
  std::vector<int> window;
  int active;
  std::vector<std::string> reads;
};

class LinkGrowth : public ::testing::TestWithParam<GrowCase> {};

TEST_P(LinkGrowth, GrowingFromOneToFiveKeepsTheCurrentRecord) {
  const GrowCase& c = GetParam();
  Window w(20);
  w.table.Open();
  w.table.MoveBy(c.standOn - 1);
  ASSERT_EQ(w.table.CurrentRecord(), c.standOn);
  w.table.calls.clear();
  w.link.SetBufferCount(5);
  EXPECT_EQ(w.table.WindowSize(), 5);
  EXPECT_EQ(w.table.WindowRecords(), c.window);
  EXPECT_EQ(w.table.ActiveRecordIndex(), c.active);
  EXPECT_EQ(w.table.CurrentRecord(), c.standOn);
  EXPECT_EQ(w.table.calls, c.reads);
  // The link's rows lie inside the window and include the current record.
  EXPECT_EQ(w.link.RecordCount(), 5);
  EXPECT_EQ(w.link.ActiveRecord(), c.active);
}

INSTANTIATE_TEST_SUITE_P(
    RecordWindow, LinkGrowth,
    ::testing::Values(
        GrowCase{10, {10, 11, 12, 13, 14}, 0, {"read 11", "read 12", "read 13", "read 14"}},
        GrowCase{18, {16, 17, 18, 19, 20}, 2, {"read 19", "read 20", "read 17", "read 16"}}));

TEST(RecordWindow, ShrinkingKeepsTheCurrentRecordAndTheLinkRows) {
  Window w(20, 5);
  w.table.Open();
  w.table.MoveBy(3);
  ASSERT_EQ(w.table.CurrentRecord(), 4);
  w.link.SetBufferCount(2);
  EXPECT_EQ(w.table.WindowSize(), 2);
  EXPECT_EQ(w.table.CurrentRecord(), 4);
  EXPECT_EQ(w.table.RecordCountInWindow(), 2);
  EXPECT_LE(w.link.FirstRecord(), w.table.ActiveRecordIndex());
}

struct MoveCase {
  const char* name;
  int windowSize;
  int distance;
  int result;
  int current;
  bool bof;
  bool eof;
  const char* event;
};

class MoveByFromFirst : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveByFromFirst, MovesAndTellsTheLinks) {
  const MoveCase& c = GetParam();
  Window w(20, c.windowSize);
  w.table.Open();
  w.log.clear();
  EXPECT_EQ(w.table.MoveBy(c.distance), c.result);
  EXPECT_EQ(w.table.CurrentRecord(), c.current);
  EXPECT_EQ(w.table.Bof(), c.bof);
  EXPECT_EQ(w.table.Eof(), c.eof);
  ASSERT_FALSE(w.log.empty());
  EXPECT_EQ(w.log.back(), c.event);
}

INSTANTIATE_TEST_SUITE_P(
    RecordWindow, MoveByFromFirst,
    ::testing::Values(MoveCase{"ZeroDoesNothing", 1, 0, 0, 1, true, false, "grid check"},
                      MoveCase{"BackAtStartDoesNothing", 1, -3, 0, 1, true, false, "grid check"},
                      MoveCase{"StepInsideWindow", 5, 1, 1, 2, false, false, "grid scroll 0"},
                      MoveCase{"StepPastFullWindow", 5, 6, 6, 7, false, false, "grid scroll 2"},
                      MoveCase{"StepPastWindowOfOne", 1, 3, 3, 4, false, false, "grid scroll 3"},
                      MoveCase{"RunIntoTheEnd", 5, 25, 19, 20, false, true, "grid scroll 15"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RecordWindow, AMoveThatGrowsTheWindowSendsDataSetChanged) {
  Window w(3, 5);
  w.table.Open();
  ASSERT_EQ(w.table.RecordCountInWindow(), 3);
  w.table.records.push_back("record 4");  // appears behind the window
  w.log.clear();
  EXPECT_EQ(w.table.MoveBy(3), 3);
  EXPECT_EQ(w.table.CurrentRecord(), 4);
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid data"));
}

TEST(RecordWindow, StepsInsideTheWindowCallNoPrimitive) {
  Window w(20, 5);
  w.table.Open();
  const int reads = w.table.reads;
  const int standOns = w.table.standOns;
  w.table.MoveBy(4);
  w.table.MoveBy(-4);
  EXPECT_EQ(w.table.reads, reads);
  EXPECT_EQ(w.table.standOns, standOns);
}

TEST(RecordWindow, ForwardReadsRepositionOnlyWhenTheEngineStandsElsewhere) {
  Window w(20, 3);
  w.table.Open();
  w.table.MoveBy(5);  // reads forward from the last buffer: no re-positioning
  EXPECT_EQ(w.table.standOns, 0);
  w.table.MoveBy(-5);  // the engine stands on the last buffer, so it moves back
  EXPECT_EQ(w.table.standOns, 1);
  EXPECT_EQ(w.table.CurrentRecord(), 1);
}

TEST(RecordWindow, MovesOnAClosedCursorFailWithTheCursorName) {
  MemoryDataSet table(3);
  for (auto move : {+[](TDataSet& t) { t.First(); }, +[](TDataSet& t) { t.Last(); },
                    +[](TDataSet& t) { t.MoveBy(1); }}) {
    try {
      move(table);
      FAIL() << "a move on a closed cursor must fail";
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), "Table1: Cannot perform this operation on a closed dataset");
    }
  }
}

TEST(RecordWindow, AFailedReadStillSetsTheFlagSendsTheEventAndRunsAfterScroll) {
  Window w(20);
  w.table.Open();
  int afterScroll = 0;
  w.table.AfterScroll = [&](TDataSet&) { ++afterScroll; };
  w.table.failReadAfter = w.table.reads;
  w.log.clear();
  EXPECT_THROW(w.table.First(), std::runtime_error);
  EXPECT_TRUE(w.table.Bof());
  EXPECT_EQ(afterScroll, 1);
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid data"));

  w.table.failReadAfter = -1;
  w.table.First();
  w.table.failReadAfter = w.table.reads;
  w.log.clear();
  EXPECT_THROW(w.table.MoveBy(2), std::runtime_error);
  EXPECT_EQ(afterScroll, 3);
  EXPECT_EQ(w.table.CurrentRecord(), 1);
  EXPECT_THAT(w.log, ElementsAre("grid check", "grid scroll 0"));
}

TEST(RecordWindow, RecentringPutsTheEngineRecordNearTheMiddle) {
  struct Case {
    int record;
    std::vector<int> window;
    int active;
  };
  for (const Case& c : {Case{10, {8, 9, 10, 11, 12}, 2}, Case{1, {1, 2, 3, 4, 5}, 0},
                        Case{20, {16, 17, 18, 19, 20}, 4}, Case{19, {16, 17, 18, 19, 20}, 3}}) {
    Window w(20, 5);
    w.table.Open();
    w.log.clear();
    w.table.RecentreOn(c.record);
    EXPECT_EQ(w.table.WindowRecords(), c.window) << c.record;
    EXPECT_EQ(w.table.ActiveRecordIndex(), c.active) << c.record;
    EXPECT_FALSE(w.table.Bof());
    EXPECT_FALSE(w.table.Eof());
    EXPECT_THAT(w.log, ElementsAre("grid data"));
  }
}

TEST(RecordWindow, RecentringOnNothingClearsTheWindow) {
  Window w(0, 3);
  w.table.Open();
  w.log.clear();
  w.table.RecentreOn(1);
  EXPECT_TRUE(w.table.IsEmpty());
  EXPECT_TRUE(w.table.Bof() && w.table.Eof());
  EXPECT_THAT(w.log, ElementsAre("grid data"));
}

TEST(RecordWindow, ClosingReleasesTheWindow) {
  Window w(20, 4);
  w.table.Open();
  EXPECT_EQ(w.table.WindowSize(), 4);
  w.table.Close();
  EXPECT_EQ(w.table.WindowSize(), 0);
  EXPECT_TRUE(w.table.IsEmpty());
  EXPECT_FALSE(w.link.Active());
}

}  // namespace
}  // namespace pellory::data::testing
