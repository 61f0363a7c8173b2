// Session, database objects and TTable over an engine in memory: the opening
// steps, their answers and failures, record numbers, blobs through the engine.
#include "pellory/data/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "fake_engine.h"
#include "pellory/data/blob_field.h"
#include "pellory/data/database.h"
#include "pellory/data/datasource.h"
#include "pellory/data/errors.h"
#include "pellory/data/session.h"
#include "recording_link.h"

namespace pellory::data::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

std::vector<ColumnDescriptor> CatalogueColumns() {
  return {{1, "Font Name", 1, 0, 45, 45},
          {2, "Filename", 1, 0, 13, 13},
          {3, "Category", 1, 0, 55, 55},
          {4, "Description", 3, 22, 0, 40},
          {5, "Sample3", 3, 26, 0, 30}};
}

FakeEngine::Row Font(int i) {
  return {"Font " + std::to_string(i), "font" + std::to_string(i) + ".ttf", "Normal Serif",
          std::string("Caf\xE9 ") + std::to_string(i), std::nullopt};
}

struct Catalogue {
  explicit Catalogue(int records = 20) : engine(std::make_shared<FakeEngine>()) {
    engine->columns = CatalogueColumns();
    for (int i = 1; i <= records; ++i) engine->rows.push_back(Font(i));
    session.SetEngine(engine);
  }
  // Table1 with its five declared fields, bound to DataSource1 and DBEdit1.
  std::unique_ptr<TTable> MainTable() {
    auto table = std::make_unique<TTable>(session);
    table->SetName("Table1");
    table->SetDatabaseName("pellory");
    table->SetTableName("pelloryfont.DB");
    table->SetReadOnly(true);
    table->AddField(std::make_unique<TStringField>("Font Name", 45));
    table->AddField(std::make_unique<TMemoField>("Description", 10));
    table->AddField(std::make_unique<TStringField>("Filename", 13));
    table->AddField(std::make_unique<TStringField>("Category", 55));
    table->AddField(std::make_unique<TGraphicField>("Sample3", 10));
    return table;
  }
  std::shared_ptr<FakeEngine> engine;
  TSession session{"Default", true};
};

TEST(Session, StartsOnTheFirstPasswordAndHandsOverThePrivateDirectory) {
  Catalogue c;
  EXPECT_FALSE(c.session.Active());
  c.session.AddPassword("mirabo");
  EXPECT_TRUE(c.session.Active());
  c.session.SetPrivateDir("c:\\");
  EXPECT_THAT(c.engine->log, ElementsAre("initialise 0009", "mode 7", "private c:\\"));
  EXPECT_THAT(c.engine->passwords, ElementsAre("mirabo"));
  c.session.AddPassword("");  // nothing to hand over
  EXPECT_EQ(c.engine->passwords.size(), 1U);
  c.session.Stop();
  EXPECT_EQ(c.engine->log.back(), "exit");
  // A directory stored while stopped is handed over at the next start.
  c.session.Start();
  EXPECT_EQ(c.engine->log.back(), "mode 7");
  EXPECT_THAT(c.engine->log, Contains("private c:\\"));
}

TEST(Session, LongPasswordsAreCutTo255Characters) {
  Catalogue c;
  std::string accented;
  for (int i = 0; i < 300; ++i) accented += "\xC3\xA9";
  c.session.AddPassword(accented);
  EXPECT_EQ(c.engine->passwords.at(0).size(), 255U * 2);
}

TEST(Session, AnEngineAlreadyInitialisedIsFine) {
  Catalogue c;
  c.engine->initialiseAnswer = engine_code::kAlreadyInitialised;
  EXPECT_NO_THROW(c.session.Start());
  EXPECT_TRUE(c.session.Active());
}

TEST(Session, WithoutTheEngineEveryStartFailsWithTheInitialisationText) {
  // 2108 is what every call answers when the engine library cannot be found.
  Catalogue c;
  c.engine->initialiseAnswer = 0x2108;
  TSession& session = c.session;
  std::unique_ptr<TTable> main = c.MainTable();
  TTable& table = *main;
  const std::string text =
      "An error occurred while attempting to initialize the database engine (error $2108)";
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      session.AddPassword("mirabo");
      FAIL() << "the start must fail";
    } catch (const EDBEngineError& e) {
      EXPECT_EQ(e.what(), text);
      EXPECT_EQ(e.ErrorCode(), 0x2108U);
    }
    EXPECT_THROW(table.Open(), EDBEngineError);
    EXPECT_FALSE(table.Active());
  }
}

TEST(Session, TheHourglassShowsWhileTheEngineInitialises) {
  const struct {
    const char* what;
    EngineResult answer;
    bool isDefault;
    std::vector<std::string> log;
  } cases[] = {
      {"a start", 0, true, {"hourglass", "initialise 0009", "pointer back", "mode 7"}},
      {"a failed start", 0x2108, true, {"hourglass", "initialise 0009", "pointer back"}},
      {"a session that is not the default one", 0, false, {"mode 7"}},
  };
  for (const auto& c : cases) {
    auto engine = std::make_shared<FakeEngine>();
    engine->initialiseAnswer = c.answer;
    TSession session("Other", c.isDefault);
    session.SetEngine(engine);
    session.ShowHourglass = [&engine] {
      engine->log.push_back("hourglass");
      return [&engine] { engine->log.push_back("pointer back"); };
    };
    try {
      session.Start();
    } catch (const EDBEngineError&) {
      EXPECT_NE(c.answer, 0U) << c.what;
    }
    EXPECT_EQ(engine->log, c.log) << c.what;
  }
  // Shown nothing, nothing to put back.
  Catalogue plain;
  plain.session.ShowHourglass = [] { return std::function<void()>(); };
  EXPECT_NO_THROW(plain.session.Start());
}

TEST(Session, EngineErrorsAreWordedFromTheEngineTexts) {
  Catalogue c;
  c.engine->failOpenTable = 0x2A04;
  c.engine->texts = {{0x2A04, "Table is busy."}};
  c.engine->stack = {{0x2A04, 0, "Table: /data/pelloryfont.DB"}};
  auto table = c.MainTable();
  try {
    table->Open();
    FAIL() << "the open must fail";
  } catch (const EDBEngineError& e) {
    EXPECT_STREQ(e.what(), "Table is busy.\r\nTable: /data/pelloryfont.DB");
    EXPECT_EQ(e.Errors().size(), 1U);
  }
}

TEST(Table, OpensOnTheFirstRecordWithItsValues) {
  Catalogue c;
  auto table = c.MainTable();
  TDataSource source;
  source.SetDataSet(table.get());
  EventLog log;
  LoggingFieldLink edit("DBEdit1", "Font Name", log);
  edit.SetDataSource(&source);
  table->Open();
  EXPECT_THAT(log, ElementsAre("DBEdit1 shows Font 1"));
  EXPECT_THAT(c.engine->log, Contains("open table pelloryfont.DB PARADOX read-only"));
  EXPECT_EQ(table->FieldByName("filename").AsString(), "font1.ttf");
  EXPECT_EQ(table->FieldByName("Description").AsString(), "Caf\xC3\xA9 1");
  EXPECT_EQ(table->FieldByName("Description").Size(), 40);
  EXPECT_EQ(table->FieldByName("Sample3").FieldNo(), 5);
  EXPECT_TRUE(table->FieldByName("Sample3").IsNull());
  EXPECT_EQ(table->RecNo(), 1);
  EXPECT_EQ(table->RecordCount(), 20);
  EXPECT_TRUE(table->IsSequenced());
  EXPECT_FALSE(table->CanModify());
  table->Last();
  EXPECT_EQ(table->FieldByName("Font Name").AsString(), "Font 20");
  table->Close();
  EXPECT_EQ(table->FieldByName("Sample3").FieldNo(), 0);
  EXPECT_EQ(c.engine->openCursors, 0);
}

struct OpenFailure {
  const char* name;
  ColumnDescriptor replaced;  // number 0 removes Sample3
  const char* message;
};

class TableOpenFailures : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(TableOpenFailures, LeaveTheCursorClosedAndTheViewEmpty) {
  Catalogue c;
  if (GetParam().replaced.number == 0)
    c.engine->columns.pop_back();
  else
    c.engine->columns[static_cast<std::size_t>(GetParam().replaced.number - 1)] =
        GetParam().replaced;
  auto table = c.MainTable();
  TDataSource source;
  source.SetDataSet(table.get());
  EventLog log;
  LoggingFieldLink edit("DBEdit1", "Font Name", log);
  edit.SetDataSource(&source);
  EventLog events;
  table->AfterOpen = [&](TDataSet&) { events.push_back("AfterOpen"); };
  table->AfterClose = [&](TDataSet&) { events.push_back("AfterClose"); };
  try {
    table->Open();
    FAIL() << "the open must fail";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
  EXPECT_THAT(events, ElementsAre("AfterClose"));
  EXPECT_FALSE(table->Active());
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(c.engine->openCursors, 0);
  // The connection, once made, stays.
  EXPECT_EQ(c.engine->openDatabases, 1);
  EXPECT_EQ(table->FieldByName("Font Name").FieldNo(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TableOpenFailures,
    ::testing::Values(
        OpenFailure{"FontNameOf40",
                    {1, "Font Name", 1, 0, 40, 40},
                    "Table1: Size mismatch for field 'Font Name', expecting: 45 actual: 40"},
        OpenFailure{"NoSample3", {0, "", 0, 0, 0, 0}, "Table1: Field 'Sample3' not found"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Table, AnEmptyTableNameFailsWithTheCursorName) {
  Catalogue c;
  auto table = c.MainTable();
  table->SetTableName("");
  try {
    table->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Table1: Missing TableName property");
  }
}

TEST(Table, AReadOnlyFileOpensReadOnlyForAReadWriteCursor) {
  Catalogue c;
  c.engine->fileReadOnly = true;
  TwwTable table(c.session);
  table.SetName("wwTable1");
  table.SetDatabaseName("pellory");
  table.SetTableName("pelloryfont.DB");
  table.Open();
  EXPECT_THAT(c.engine->log, Contains("open table pelloryfont.DB PARADOX read-write"));
  EXPECT_TRUE(c.engine->lastOpen.readOnly);
  EXPECT_FALSE(table.CanModify());
  // No fields were declared: one per column, gone again at close.
  EXPECT_EQ(table.Fields().size(), 5U);
  table.Close();
  EXPECT_TRUE(table.Fields().empty());
}

TEST(Table, AMissingPasswordAsksAndOpensWhenConfirmed) {
  Catalogue c;
  c.engine->tablePassword = "mirabo";
  c.engine->texts = {{engine_code::kNeedsPassword, "Invalid password."}};
  auto table = c.MainTable();
  try {
    table->Open();  // nobody to ask: not confirmed
    FAIL();
  } catch (const EDBEngineError& e) {
    EXPECT_STREQ(e.what(), "Invalid password.");
  }
  int asked = 0;
  c.session.OnPassword = [&](TSession& s, bool& continueOpen) {
    ++asked;
    s.AddPassword(asked == 1 ? "wrong" : "mirabo");
    continueOpen = true;
  };
  table->Open();
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(table->Active());
}

TEST(Table, CursorsShareOneConnectionThatOutlivesThem) {
  Catalogue c;
  auto main = c.MainTable();
  main->Open();
  for (int opening = 0; opening < 2; ++opening) {
    TwwTable grid(c.session);
    grid.SetName("wwTable1");
    grid.SetDatabaseName("Pellory");  // names compare without regard to case
    grid.SetTableName("pelloryfont.DB");
    grid.Open();
    EXPECT_EQ(grid.RecNo(), 1);
    grid.MoveBy(5);
  }
  EXPECT_EQ(c.engine->openDatabases, 1);
  EXPECT_EQ(c.session.DatabaseCount(), 1U);
  EXPECT_EQ(c.session.FindDatabase("pellory")->RefCount(), 1);
  main->Close();
  EXPECT_EQ(c.engine->openDatabases, 1);
  c.session.Stop();
  EXPECT_EQ(c.engine->openDatabases, 0);
  EXPECT_EQ(c.session.DatabaseCount(), 0U);
}

TEST(Table, SettingActiveTwiceOpensOnce) {
  Catalogue c;
  auto table = c.MainTable();
  table->SetActive(false);
  table->SetActive(true);
  table->SetActive(true);
  EXPECT_EQ(c.engine->openCursors, 1);
}

TEST(Table, ModificationsAreRefusedWithTheCursorName) {
  Catalogue c;
  auto table = c.MainTable();
  table->SetName("wwTable1");
  TDataSource source;
  source.SetDataSet(table.get());
  EventLog log;
  LoggingFieldLink edit("DBEdit1", "Font Name", log);
  edit.SetDataSource(&source);
  table->Open();
  EXPECT_FALSE(table->FieldByName("Font Name").CanModify());
  EXPECT_FALSE(edit.Edit());  // a read-only cursor refuses without a message
  for (auto change : {&TDataSet::Edit, &TDataSet::Insert, &TDataSet::Delete}) {
    try {
      (table.get()->*change)();
      FAIL() << "a change must be refused";
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), "wwTable1: Cannot modify a read-only dataset");
    }
  }
}

TEST(Table, RecordCountFallsBackAndThenGivesUp) {
  Catalogue c;
  auto table = c.MainTable();
  table->Open();
  c.engine->countAnswer = 0x3E01;
  EXPECT_EQ(table->RecordCount(), -1);
}

TEST(Table, SettingTheRecordNumberRecentresTheWindow) {
  Catalogue c;
  auto table = c.MainTable();
  TDataSource source;
  source.SetDataSet(table.get());
  EventLog log;
  RecordingLink grid("grid", log);
  grid.SetBufferCount(5);
  grid.SetDataSource(&source);
  table->Open();
  int afterScroll = 0;
  table->AfterScroll = [&](TDataSet&) { ++afterScroll; };
  table->SetRecNo(10);
  EXPECT_EQ(table->RecNo(), 10);
  EXPECT_EQ(table->ActiveRecordIndex(), 2);
  EXPECT_EQ(afterScroll, 1);
  table->SetRecNo(10);  // already there
  table->SetRecNo(99);  // refused, silently
  EXPECT_EQ(table->RecNo(), 10);
  EXPECT_EQ(afterScroll, 1);
}

TEST(Table, AHeaderedPictureIsReadFromTheEngineOncePerVisit) {
  Catalogue c(2);
  std::string value("\x01\x00\x00\x01\x10\x00\x00\x00", 8);
  value += "BM" + std::string(14, '\0');
  c.engine->rows[0][4] = value;
  c.engine->rows[1][4] = value;
  auto table = c.MainTable();
  table->Open();
  auto& sample = static_cast<TGraphicField&>(table->FieldByName("Sample3"));
  EXPECT_THROW(sample.LoadBitmap(), std::exception);  // the bitmap itself is cut short
  const int reads = c.engine->blobReads;
  EXPECT_THROW(sample.LoadBitmap(), std::exception);
  EXPECT_EQ(c.engine->blobReads, reads);
  table->Next();
  EXPECT_THROW(sample.LoadBitmap(), std::exception);
  EXPECT_GT(c.engine->blobReads, reads);
}

TEST(Table, AStoredFilterIsCompiledAtOpenButNotApplied) {
  Catalogue c;
  // Stands in for the compiler so that the engine's log shows the text.
  const auto compiler = TTable::FilterCompilerInUse();
  TTable::SetFilterCompiler([](const TDataSet&, const std::string& text, TFilterOptions) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
  });
  auto table = c.MainTable();
  table->SetFilter("category = 'Captial Sans Serif'");
  table->Open();
  EXPECT_THAT(c.engine->log, Contains("add filter category = 'Captial Sans Serif'"));
  EXPECT_THAT(c.engine->log, ::testing::Not(Contains("activate category = 'Captial Sans Serif'")));
  table->SetFiltered(true);
  EXPECT_THAT(c.engine->log, Contains("activate category = 'Captial Sans Serif'"));
  EXPECT_FALSE(table->IsSequenced());
  TTable::SetFilterCompiler(compiler);
}

template <typename T>
std::string Raw(T value) {
  std::string out(sizeof value, '\0');
  std::memcpy(out.data(), &value, sizeof value);
  return out;
}

TEST(Table, ColumnsOfOtherTypesReadInTheEnginesValueFormat) {
  Catalogue c(1);
  c.engine->columns = {
      {1, "Short", 5, 0, 0, 2},  {2, "Long", 6, 0, 0, 4}, {3, "Number", 7, 0, 0, 8},
      {4, "Flag", 4, 0, 0, 1},   {5, "Day", 2, 0, 0, 4},  {6, "At", 10, 0, 0, 4},
      {7, "Stamp", 11, 0, 0, 8}, {8, "Raw", 9, 0, 3, 3},  {9, "Blank", 6, 0, 0, 4}};
  c.engine->rows = {{Raw<std::int16_t>(-7), Raw<std::int32_t>(123456), Raw(2.5),
                     Raw<std::int16_t>(1), Raw<std::int32_t>(719163), Raw<std::int32_t>(3723000),
                     Raw(739000.0 * 86400000 + 45296000), std::string("\x01\xAB\xff", 3),
                     std::nullopt}};
  TwwTable table(c.session);
  table.SetName("wwTable1");
  table.SetDatabaseName("pellory");
  table.SetTableName("any.DB");
  table.Open();
  std::vector<std::string> shown;
  for (TField* field : table.Fields()) shown.push_back(field->AsString());
  EXPECT_THAT(shown, ElementsAre("-7", "123456", "2.5", "True", "1970-01-01", "01:02:03",
                                 "2024-04-24 12:34:56", "01ABFF", ""));
  EXPECT_EQ(static_cast<TNumberField*>(table.Fields()[2])->AsInteger(), 2);
}

TEST(Table, CategoryFiltersCompileAgainstTheCursorsFields) {
  Catalogue c;
  auto table = c.MainTable();
  table->Open();
  table->SetFilter("Category ='Capitals San*'");
  table->SetFilter("Category ='Handwriting'");
  ASSERT_EQ(c.engine->expressions.size(), 2U);
  EXPECT_EQ(c.engine->expressions[0].size(), 74U);
  EXPECT_EQ(c.engine->expressions[1].size(), 69U);
  // The field node carries Category's column number, 3.
  EXPECT_EQ(c.engine->expressions[0][26 + 8], 3);
}

TEST(Table, AFilterThatDoesNotCompileStoresNothing) {
  Catalogue c;
  auto table = c.MainTable();
  table->Open();
  table->SetFilter("Category ='Wing*'");
  table->SetFiltered(true);
  struct Case {
    const char* text;
    const char* message;
  };
  for (const Case& bad :
       {Case{"Categry ='Wing*'", "Table1: Field 'Categry' not found"},
        Case{"Sample3 = 'x'", "Type mismatch in expression"},
        Case{"Category = 'Wing*' AND", "Expression expected but nothing found"}}) {
    try {
      table->SetFilter(bad.text);
      FAIL() << bad.text;
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), bad.message);
    }
    EXPECT_EQ(table->Filter(), "Category ='Wing*'");
    EXPECT_TRUE(table->Filtered());
  }
  EXPECT_EQ(c.engine->expressions.size(), 1U);
}

}  // namespace
}  // namespace pellory::data::testing
