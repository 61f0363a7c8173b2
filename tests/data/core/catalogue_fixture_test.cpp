// The record window, binding and filters against the real engine over small
// catalogue tables made with the table writer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

#include "pellory/data/blob_field.h"
#include "pellory/data/catalogue.h"
#include "pellory/data/datasource.h"
#include "pellory/data/errors.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "pellory/engine/table_writer.h"
#include "recording_link.h"

namespace pellory::data::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using writer::Column;
using writer::FieldType;

const char* const kCategories[] = {"Capitals Serif", "Capitals Sans Serif", "Handwriting",
                                   "Normal Serif"};

std::vector<Column> CatalogueColumns(std::uint8_t fontNameSize = 45, bool withSample = true,
                                     FieldType descriptionType = FieldType::Memo) {
  std::vector<Column> columns = {{"Font Name", FieldType::Alpha, fontNameSize},
                                 {"Description", descriptionType, 20},
                                 {"Filename", FieldType::Alpha, 13},
                                 {"Category", FieldType::Alpha, 55}};
  if (withSample) columns.push_back({"Sample3", FieldType::Graphic, 10});
  return columns;
}

class CatalogueFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("pellory-core-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    session.Stop();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Record i (from 1) is "Font i" in the category cycle; no pictures.
  void Write(int records, std::vector<Column> columns = CatalogueColumns()) {
    writer::TableWriter table(dir_, std::string(data::kCatalogueTableName), columns,
                              {.password = std::string(data::kCataloguePassword)});
    for (int i = 1; i <= records; ++i) {
      const std::string number = std::to_string(i);
      std::string font = "Font ";
      font.append(number);
      std::string file = "f";
      file.append(number).append(".ttf");
      writer::Row row;
      row.emplace_back(std::in_place_type<std::string>, font);
      row.emplace_back(std::in_place_type<std::string>, "About font");
      row.emplace_back(std::in_place_type<std::string>, file);
      row.emplace_back(std::in_place_type<std::string>, kCategories[i % 4]);
      if (columns.size() == 5) row.emplace_back(std::in_place_type<writer::Blank>);
      table.Append(row);
    }
    table.Finish();
  }

  // Table1 as the main window declares it, with its record view.
  std::unique_ptr<TTable> MainTable() {
    auto table = std::make_unique<TTable>(session);
    table->SetName("Table1");
    table->SetDatabaseName(dir_.string());
    table->SetTableName("pelloryfont.DB");
    table->SetReadOnly(true);
    table->AddField(std::make_unique<TStringField>("Font Name", 45));
    table->AddField(std::make_unique<TMemoField>("Description", 10));
    table->AddField(std::make_unique<TStringField>("Filename", 13));
    table->AddField(std::make_unique<TStringField>("Category", 55));
    table->AddField(std::make_unique<TGraphicField>("Sample3", 10));
    source.SetDataSet(table.get());
    return table;
  }

  long Current(TTable& table) { return table.RecNo(); }

  fs::path dir_;
  TSession session{"Default", true};
  TDataSource source;
  EventLog log;
};

TEST_F(CatalogueFixture, TheMainWindowsOpeningSequence) {
  Write(20);
  session.AddPassword(std::string(data::kCataloguePassword));
  session.SetPrivateDir("c:\\");
  auto table = MainTable();
  LoggingFieldLink navigator("DBNavigator1", "", log), edit1("DBEdit1", "Font Name", log),
      image("DBImage1", "Sample3", log), memo("DBMemo1", "Description", log),
      edit2("DBEdit2", "Filename", log);
  for (auto* link : {&navigator, &edit1, &image, &memo, &edit2}) link->SetDataSource(&source);
  table->SetFilter("category = 'Captial Sans Serif'");
  table->SetActive(false);
  table->SetActive(true);
  EXPECT_THAT(log, ElementsAre("DBEdit2 shows f1.ttf", "DBMemo1 shows About font",
                               "DBImage1 shows ", "DBEdit1 shows Font 1", "DBNavigator1 empty"));
  TwwTable second(session);
  second.SetName("wwTable1");
  second.SetDatabaseName(dir_.string());
  second.SetTableName("pelloryfont.DB");
  second.Open();
  EXPECT_EQ(second.RecNo(), 1);
  EXPECT_EQ(session.DatabaseCount(), 1U);

  // A category click: the view is told twice, then stands on the first match.
  log.clear();
  table->SetFiltered(false);
  table->SetFilter("Category ='Capitals San*'");
  table->SetFiltered(true);
  ASSERT_EQ(log.size(), 10U);
  EXPECT_EQ(log[3], "DBEdit1 shows Font 1");
  EXPECT_EQ(log[8], "DBEdit1 shows Font 1");  // record 1 is "Capitals Sans Serif"
  table->Next();
  EXPECT_EQ(table->FieldByName("Font Name").AsString(), "Font 5");
}

TEST_F(CatalogueFixture, AnEmptyCatalogueHasBothFlags) {
  Write(0);
  session.AddPassword(std::string(data::kCataloguePassword));
  auto table = MainTable();
  table->Open();
  EXPECT_TRUE(table->Bof() && table->Eof() && table->IsEmpty());
  table->Last();
  EXPECT_TRUE(table->Bof() && table->Eof());
  EXPECT_EQ(table->MoveBy(1), 0);
  EXPECT_TRUE(static_cast<TGraphicField&>(table->FieldByName("Sample3")).LoadBitmap().IsEmpty());
}

TEST_F(CatalogueFixture, WindowOfOneLastThenStepBack) {
  Write(20);
  session.AddPassword(std::string(data::kCataloguePassword));
  auto table = MainTable();
  RecordingLink link("view", log, true);
  link.SetDataSource(&source);
  table->Open();
  table->Last();
  log.clear();
  EXPECT_EQ(table->MoveBy(-1), -1);
  EXPECT_EQ(table->RecNo(), 19);
  EXPECT_THAT(log, ElementsAre("view check", "view scroll -1"));
}

TEST_F(CatalogueFixture, AGrowingLinkKeepsTheCurrentRecord) {
  Write(20);
  session.AddPassword(std::string(data::kCataloguePassword));
  struct Case {
    long standOn;
    std::vector<long> window;
  };
  for (const Case& c : {Case{10, {10, 11, 12, 13, 14}}, Case{18, {16, 17, 18, 19, 20}}}) {
    auto table = MainTable();
    RecordingLink grid("grid", log);
    grid.SetDataSource(&source);
    table->Open();
    table->MoveBy(static_cast<int>(c.standOn - 1));
    grid.SetBufferCount(5);
    std::vector<long> window;
    for (int i = 0; i < table->RecordCountInWindow(); ++i)
      window.push_back(table->WindowBuffer(i)->recordNumber);
    EXPECT_EQ(window, c.window);
    EXPECT_EQ(table->RecNo(), c.standOn);
  }
}

// Counts the blob reads the cursor asks of the engine.
class CountingTable : public TTable {
 public:
  using TTable::TTable;
  int blobReads = 0;

 protected:
  BlobReadResult ReadBlob(const TField& field, std::uint64_t position, std::size_t count,
                          std::string& bytes) override {
    ++blobReads;
    return TTable::ReadBlob(field, position, count, bytes);
  }
};

std::string SmallBitmap() {
  // 1 x 1, 24 bits per pixel, one white pixel.
  std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0", 14);
  std::string info(40, '\0');
  info[0] = 40;
  info[4] = 1;
  info[8] = 1;
  info[12] = 1;
  info[14] = 24;
  return bmp + info + std::string("\xFF\xFF\xFF\0", 4);
}

TEST_F(CatalogueFixture, PicturesWithTheHeaderAreReadOncePerVisitOthersOnEveryLoad) {
  const std::string bare = SmallBitmap();
  std::string headed("\x01\x00\x00\x01", 4);
  const auto size = static_cast<std::uint32_t>(bare.size());
  headed.append(reinterpret_cast<const char*>(&size), 4);
  headed += bare;
  {
    writer::TableWriter file(dir_, std::string(data::kCatalogueTableName), CatalogueColumns(),
                             {.password = std::string(data::kCataloguePassword)});
    for (const std::string* picture : {&std::as_const(headed), &bare}) {
      writer::Row row;
      row.emplace_back(std::in_place_type<std::string>, "Font");
      row.emplace_back(std::in_place_type<std::string>, "Caf\xE9 cr\xE8me, line 1\r\nline 2");
      row.emplace_back(std::in_place_type<std::string>, "f.ttf");
      row.emplace_back(std::in_place_type<std::string>, "Normal Serif");
      row.emplace_back(std::in_place_type<std::string>, *picture);
      file.Append(row);
    }
    file.Finish();
  }
  session.AddPassword(std::string(data::kCataloguePassword));
  CountingTable table(session);
  table.SetName("Table1");
  table.SetDatabaseName(dir_.string());
  table.SetTableName("pelloryfont.DB");
  table.Open();
  auto& sample = static_cast<TGraphicField&>(table.FieldByName("Sample3"));
  auto& description = table.FieldByName("Description");

  EXPECT_EQ(sample.LoadBitmap().pixels, std::vector<std::uint32_t>{0xFFFFFFFF});
  const int firstLoad = table.blobReads;
  EXPECT_GT(firstLoad, 0);
  sample.LoadBitmap();
  sample.LoadBitmap();
  EXPECT_EQ(table.blobReads, firstLoad);
  EXPECT_EQ(description.AsString(), "Caf\xC3\xA9 cr\xC3\xA8me, line 1\r\nline 2");
  const int withMemo = table.blobReads;
  EXPECT_EQ(description.AsString(), "Caf\xC3\xA9 cr\xC3\xA8me, line 1\r\nline 2");
  EXPECT_EQ(table.blobReads, withMemo);

  table.Next();
  EXPECT_EQ(sample.LoadBitmap().width, 1);
  const int bareLoad = table.blobReads - withMemo;
  EXPECT_GT(bareLoad, 0);
  sample.LoadBitmap();
  EXPECT_EQ(table.blobReads - withMemo, 2 * bareLoad);
}

struct BindCase {
  const char* name;
  std::vector<Column> columns;
  const char* message;  // nullptr: opens
};

class CatalogueBinding : public CatalogueFixture, public ::testing::WithParamInterface<BindCase> {};

TEST_P(CatalogueBinding, DeclaredFieldsMeetTheTablesColumns) {
  Write(2, GetParam().columns);
  session.AddPassword(std::string(data::kCataloguePassword));
  auto table = MainTable();
  LoggingFieldLink edit("DBEdit1", "Font Name", log);
  edit.SetDataSource(&source);
  if (GetParam().message == nullptr) {
    table->Open();
    EXPECT_EQ(table->FieldByName("Description").Size(), 20);
    EXPECT_EQ(table->FieldByName("Sample3").Size(), 10);
    return;
  }
  try {
    table->Open();
    FAIL() << "the open must fail";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
  EXPECT_FALSE(table->Active());
  EXPECT_TRUE(log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, CatalogueBinding,
    ::testing::Values(
        BindCase{"FontNameOf40", CatalogueColumns(40),
                 "Table1: Size mismatch for field 'Font Name', expecting: 45 actual: 40"},
        BindCase{"NoSample3", CatalogueColumns(45, false), "Table1: Field 'Sample3' not found"},
        BindCase{"DescriptionBinary", CatalogueColumns(45, true, FieldType::Binary), nullptr},
        BindCase{"DescriptionFormatted", CatalogueColumns(45, true, FieldType::FormattedMemo),
                 nullptr}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pellory::data::testing
