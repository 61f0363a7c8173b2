// How events travel from a cursor through its data sources to the links.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "main_record_view.h"
#include "pellory/data/errors.h"

namespace pellory::data::testing {
namespace {

using ::testing::ElementsAre;

TEST(Notifications, LinksAreToldMostRecentlyAttachedFirst) {
  RecordView view;
  view.table.Open();
  view.log.clear();
  view.table.Next();
  EXPECT_THAT(view.log, ElementsAre("DBEdit2 shows record 2", "DBMemo1 shows record 2",
                                    "DBImage1 shows record 2", "DBEdit1 shows record 2",
                                    "DBNavigator1 empty"));
}

TEST(Notifications, LinksWithoutAVisualControlComeFirst) {
  MemoryDataSet table(5);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink a("a", log, true), b("b", log, false), c("c", log, true), d("d", log, false);
  for (auto* link : {&a, &b, &c, &d}) link->SetDataSource(&source);
  table.Open();
  EXPECT_THAT(log, ElementsAre("d active", "b active", "c active", "a active"));
}

TEST(Notifications, OpeningShowsTheFirstRecordAndClosingEmptiesTheControls) {
  RecordView view;
  view.table.Open();
  EXPECT_EQ(view.log.front(), "DBEdit2 shows record 1");
  EXPECT_TRUE(view.edit1.Active());
  view.log.clear();
  view.table.Close();
  EXPECT_EQ(view.log.front(), "DBEdit2 empty");
  EXPECT_EQ(view.log.size(), 5U);
  EXPECT_FALSE(view.edit1.Active());
}

TEST(Notifications, ALinkAttachedToAnOpenCursorIsActiveAtOnce) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  table.Open();
  table.MoveBy(6);
  EventLog log;
  RecordingLink late("late", log);
  late.SetDataSource(&source);
  EXPECT_TRUE(late.Active());
  EXPECT_THAT(log, ElementsAre("late active"));
  EXPECT_EQ(late.ActiveRecord(), 0);
}

TEST(Notifications, AnUnknownFieldNameFailsWithTheControlName) {
  MemoryDataSet table(2);
  table.AddField(std::make_unique<TStringField>("Font Name", 45));
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  LoggingFieldLink broken("DBEdit9", "Sample9", log);
  broken.SetDataSource(&source);
  try {
    table.Open();
    FAIL() << "binding an unknown field must fail";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "DBEdit9: Field 'Sample9' not found");
  }
  // The error came from a link: the cursor stays open.
  EXPECT_TRUE(table.Active());
}

TEST(Notifications, ScrollEventsOrderedAroundBeforeAndAfterScroll) {
  MemoryDataSet table(5);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("link", log);
  link.SetDataSource(&source);
  table.BeforeScroll = [&](TDataSet&) { log.push_back("BeforeScroll"); };
  table.AfterScroll = [&](TDataSet&) { log.push_back("AfterScroll"); };
  source.OnDataChange = [&](TDataSource&, TField* f) {
    log.push_back(f == nullptr ? "OnDataChange" : "OnDataChange field");
  };
  table.Open();
  EXPECT_THAT(log, ElementsAre("link active", "OnDataChange", "AfterScroll"));
  log.clear();
  table.Next();
  EXPECT_THAT(log, ElementsAre("link check", "BeforeScroll", "link scroll 1", "OnDataChange",
                               "AfterScroll"));
  log.clear();
  table.MoveBy(0);  // nothing moves, so nothing is sent after BeforeScroll
  EXPECT_THAT(log, ElementsAre("link check", "BeforeScroll"));
}

TEST(Notifications, SuspendedEventsCollapseIntoOneOnResume) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("link", log);
  link.SetDataSource(&source);
  table.Open();
  log.clear();
  table.SuspendNotifications();
  table.SuspendNotifications();
  table.Next();
  table.Last();
  table.ResumeNotifications();
  EXPECT_TRUE(log.empty());
  table.ResumeNotifications();
  EXPECT_THAT(log, ElementsAre("link data"));
  EXPECT_FALSE(table.NotificationsSuspended());
}

TEST(Notifications, ClosingWhileSuspendedSendsOnlyTheStateChange) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("link", log);
  link.SetDataSource(&source);
  table.Open();
  log.clear();
  table.SuspendNotifications();
  table.Close();
  EXPECT_TRUE(link.Active());
  table.ResumeNotifications();
  EXPECT_THAT(log, ElementsAre("link inactive"));
}

TEST(Notifications, LayoutChangeIsRememberedWhileSuspended) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("link", log);
  link.SetDataSource(&source);
  table.Open();
  log.clear();
  table.SuspendNotifications();
  table.SendEvent(DataEvent::LayoutChanged);
  table.ResumeNotifications();
  EXPECT_THAT(log, ElementsAre("link layout"));
}

TEST(Notifications, ADisabledSourceMakesItsLinksInactiveAndDropsEvents) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("link", log);
  link.SetDataSource(&source);
  int stateChanges = 0;
  source.OnStateChange = [&](TDataSource&) { ++stateChanges; };
  table.Open();
  source.SetEnabled(false);
  EXPECT_EQ(source.State(), DataSetState::Inactive);
  EXPECT_FALSE(link.Active());
  log.clear();
  table.Next();
  EXPECT_TRUE(log.empty());
  source.SetEnabled(true);
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(stateChanges, 3);
}

TEST(Notifications, DestroyingASourceOrCursorUnhooksEverything) {
  EventLog log;
  RecordingLink link("link", log);
  {
    MemoryDataSet table(3);
    {
      TDataSource source;
      source.SetDataSet(&table);
      link.SetDataSource(&source);
      table.Open();
      EXPECT_EQ(table.DataSources().size(), 1U);
    }
    EXPECT_TRUE(table.DataSources().empty());
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_FALSE(link.Active());
  }
  TDataSource source;
  {
    MemoryDataSet table(3);
    source.SetDataSet(&table);
    table.Open();
  }
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_EQ(source.State(), DataSetState::Inactive);
}

TEST(Notifications, MovingAFieldChangesTheLayout) {
  MemoryDataSet table(3);
  TField& a = table.AddField(std::make_unique<TStringField>("A", 45));
  TField& b = table.AddField(std::make_unique<TStringField>("B", 13));
  TField& c = table.AddField(std::make_unique<TGraphicField>("C"));
  EXPECT_EQ(a.DisplayWidth(), 45);
  EXPECT_EQ(c.DisplayWidth(), 10);
  c.SetDisplayWidth(7);
  EXPECT_EQ(c.DisplayWidth(), 7);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("grid", log);
  link.SetDataSource(&source);
  c.SetIndex(0);  // closed: no event
  EXPECT_EQ(table.Fields(), (std::vector<TField*>{&c, &a, &b}));
  table.Open();
  log.clear();
  a.SetIndex(99);
  EXPECT_EQ(table.Fields(), (std::vector<TField*>{&c, &b, &a}));
  EXPECT_EQ(a.Index(), 2);
  EXPECT_THAT(log, ElementsAre("grid layout"));
}

TEST(Notifications, SetActiveRecordMovesTheCursorWithoutEvents) {
  MemoryDataSet table(20);
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink grid("grid", log);
  grid.SetBufferCount(4);
  grid.SetDataSource(&source);
  table.Open();
  log.clear();
  grid.SetActiveRecord(3);
  EXPECT_EQ(table.CurrentRecord(), 4);
  grid.SetActiveRecord(0);
  EXPECT_EQ(table.CurrentRecord(), 1);
  EXPECT_TRUE(log.empty());
}

TEST(Notifications, DisplaySettingsOfAnOpenCursorsFieldsChangeTheLayout) {
  MemoryDataSet table(5);
  TField& field = table.AddField(std::make_unique<TStringField>("Font Name", 45));
  TDataSource source;
  source.SetDataSet(&table);
  EventLog log;
  RecordingLink link("link", log);
  link.SetDataSource(&source);
  field.SetVisible(false);  // closed: nobody to tell
  field.SetDisplayWidth(3);
  EXPECT_TRUE(log.empty());
  table.Open();
  log.clear();
  field.SetVisible(true);
  field.SetDisplayWidth(7);
  field.SetDisplayLabel("Name");
  field.SetDisplayWidth(7);  // unchanged: no event
  EXPECT_THAT(log, ElementsAre("link layout", "link layout", "link layout"));
}

TEST(Notifications, NumbersAlignRightUnlessTold) {
  TStringField text("Font Name", 45);
  TNumberField number("Size", ftInteger);
  EXPECT_EQ(text.Alignment(), taLeftJustify);
  EXPECT_EQ(number.Alignment(), taRightJustify);
  text.SetAlignment(taCenter);
  EXPECT_EQ(text.Alignment(), taCenter);
}

}  // namespace
}  // namespace pellory::data::testing
