// TTable against the real engine library and the Paradox sample tables of the
// shared test data: opening, moving, memo text and pictures, passwords.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "pellory/data/blob_field.h"
#include "pellory/data/database.h"
#include "pellory/data/datasource.h"
#include "pellory/data/errors.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "recording_link.h"

namespace pellory::data::testing {
namespace {

const std::string kParadoxDir = std::string(PELLORY_SHARED_DIR) + "/testdata/paradox";

class EngineTable : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kParadoxDir + "/MANIFEST.md"))
      GTEST_SKIP() << "shared Paradox sample tables not found at " << kParadoxDir;
  }
  void TearDown() override { session.Stop(); }

  std::unique_ptr<TTable> OpenTable(const std::string& name) {
    auto table = std::make_unique<TTable>(session);
    table->SetName("Table1");
    table->SetDatabaseName(kParadoxDir);
    table->SetTableName(name);
    table->SetReadOnly(true);
    return table;
  }

  template <typename FieldClass>
  static FieldClass* FirstOf(const TTable& table) {
    for (TField* field : table.Fields())
      if (auto* typed = dynamic_cast<FieldClass*>(field)) return typed;
    return nullptr;
  }

  TSession session{"Default", true};
};

TEST_F(EngineTable, WalksThePicturesAndDecodesTheirParadoxPrefix) {
  auto table = OpenTable("graphic.db");
  table->Open();
  EXPECT_EQ(table->RecordCount(), 3);
  auto* picture = FirstOf<TGraphicField>(*table);
  ASSERT_NE(picture, nullptr);
  std::vector<std::pair<int, int>> sizes;
  for (table->First(); !table->Eof(); table->Next()) {
    const BitmapImage image = picture->LoadBitmap();
    sizes.emplace_back(image.width, image.height);
  }
  EXPECT_THAT(sizes, ::testing::ElementsAre(std::pair(149, 125), std::pair(149, 125),
                                            std::pair(1920, 1080)));
  EXPECT_EQ(table->RecNo(), 3);
}

TEST_F(EngineTable, MemoTextComesWholeAndFromTheSlotTheSecondTime) {
  auto table = OpenTable("memo.db");
  table->Open();
  auto* memo = FirstOf<TMemoField>(*table);
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->AsString().size(), 555U);
  table->Next();
  EXPECT_EQ(memo->AsString(), "01234567890\n");
  EXPECT_EQ(memo->AsString(), "01234567890\n");
  table->Prior();
  EXPECT_EQ(memo->AsString().size(), 555U);
}

TEST_F(EngineTable, TheWindowMovesOverTheRealCursor) {
  auto table = OpenTable("TypSammlung.DB");
  TDataSource source;
  source.SetDataSet(table.get());
  EventLog log;
  RecordingLink grid("grid", log);
  grid.SetBufferCount(3);
  grid.SetDataSource(&source);
  table->Open();
  std::vector<long> numbers;
  for (int i = 0; i < 6; ++i) {
    numbers.push_back(table->RecNo());
    table->Next();
  }
  EXPECT_THAT(numbers, ::testing::ElementsAre(1, 2, 3, 4, 5, 5));
  EXPECT_TRUE(table->Eof());
  table->Last();
  table->MoveBy(-3);
  EXPECT_EQ(table->RecNo(), 2);
  table->SetRecNo(4);
  EXPECT_EQ(table->RecNo(), 4);
  EXPECT_EQ(table->RecordCountInWindow(), 3);
  table->First();
  EXPECT_EQ(table->RecNo(), 1);
  EXPECT_TRUE(table->Bof());
}

TEST_F(EngineTable, AnEncryptedTableNeedsTheSessionsPassword) {
  auto table = OpenTable("TypSammlung_encrypted.DB");
  try {
    table->Open();
    FAIL() << "the open must fail without the password";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.ErrorCode(), 0x2902U);
    EXPECT_STRNE(e.what(), "");
  }
  EXPECT_FALSE(table->Active());
  int asked = 0;
  session.OnPassword = [&](TSession& s, bool& continueOpen) {
    ++asked;
    s.AddPassword("rparadox");
    continueOpen = true;
  };
  table->Open();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(table->RecordCount(), 5);
}

TEST_F(EngineTable, AMissingTableIsWordedFromTheEnginesTexts) {
  auto table = OpenTable("nosuchtable.DB");
  try {
    table->Open();
    FAIL() << "the open must fail";
  } catch (const EDBEngineError& e) {
    EXPECT_THAT(e.what(), ::testing::HasSubstr("nosuchtable"));
    EXPECT_THAT(e.what(), ::testing::Not(::testing::HasSubstr("initialize")));
  }
}

TEST_F(EngineTable, FiltersNarrowTheRecordsAndLiftAgain) {
  auto table = OpenTable("TypSammlung.DB");
  table->Open();
  TField& alpha = table->FieldByName("Alpha");
  auto names = [&] {
    std::vector<std::string> out;
    for (table->First(); !table->Eof(); table->Next()) out.push_back(alpha.AsString());
    return out;
  };
  table->SetFilter("Alpha = 'Zweite Zeile'");
  table->SetFiltered(true);
  EXPECT_THAT(names(), ::testing::ElementsAre("Zweite Zeile"));
  table->SetFilter("Alpha = 'Erste*'");
  EXPECT_THAT(names(), ::testing::ElementsAre("Erste Zeile"));
  EXPECT_EQ(alpha.AsString(), "Erste Zeile");
  table->SetFiltered(false);
  EXPECT_EQ(names().size(), 5U);
  EXPECT_EQ(table->Filter(), "Alpha = 'Erste*'");
}

TEST_F(EngineTable, NumberFieldsReadTheirValuesBcdIncluded) {
  auto table = OpenTable("TypSammlung.DB");
  table->Open();
  std::vector<std::string> alpha, bcd;
  std::vector<double> bcdValues;
  for (table->First(); !table->Eof(); table->Next()) {
    alpha.push_back(table->FieldByName("Alpha").AsString());
    bcd.push_back(table->FieldByName("BCD").AsString());
    bcdValues.push_back(dynamic_cast<TNumberField&>(table->FieldByName("BCD")).AsFloat());
  }
  // Values as an independent reader gives them; "Erste Zeile" stores a blank.
  const std::vector<std::pair<std::string, double>> expected = {
      {"AAA Irgendein Text", 40.0},
      {"F\xC3\xBCnfter Datensatz", 13.123457},
      {"Null-Werte", 0.0},
      {"Zweite Zeile", -40.0}};
  for (const auto& [name, value] : expected) {
    const auto at = std::find(alpha.begin(), alpha.end(), name) - alpha.begin();
    ASSERT_LT(at, static_cast<long>(alpha.size())) << name;
    EXPECT_NEAR(bcdValues[at], value, 1e-9) << name;
  }
  const auto erste = std::find(alpha.begin(), alpha.end(), "Erste Zeile") - alpha.begin();
  ASSERT_LT(erste, static_cast<long>(alpha.size()));
  EXPECT_EQ(bcd[erste], "");
}

// A table Paradox wrote: BCD with six decimals, a memo in cp1252.
TEST_F(EngineTable, FiltersOverBcdAndMemoColumns) {
  auto table = OpenTable("TypSammlung.DB");
  table->Open();
  const std::string fifth = "F\xC3\xBCnfter Datensatz";
  const struct {
    const char* filter;
    std::vector<std::string> passing;
  } cases[] = {
      {"BCD = 13.123457", {fifth}},
      {"BCD > 13.12", {"AAA Irgendein Text", fifth}},
      {"BCD <= -40.000000", {"Zweite Zeile"}},
      {"Memo LIKE '%F\xC3\xBCnften Datensat%'", {fifth}},
  };
  for (const auto& c : cases) {
    table->SetFilter(c.filter);
    table->SetFiltered(true);
    std::vector<std::string> names;
    for (; !table->Eof(); table->Next()) names.push_back(table->FieldByName("Alpha").AsString());
    EXPECT_EQ(names, c.passing) << c.filter;
  }
}

TEST_F(EngineTable, TheProcessWideSessionOpensAndStopsAtExit) {
  // Left running on purpose: the session stops the engine when the process
  // ends, after which nothing of the loader may be gone yet.
  Session.AddPassword("mirabo");
  Session.SetPrivateDir("c:\\");
  TTable table;
  table.SetName("Table1");
  table.SetDatabaseName(kParadoxDir);
  table.SetTableName("memo.db");
  table.Open();
  EXPECT_TRUE(Session.Active());
  EXPECT_EQ(Session.PrivateDir(), "c:\\");
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(Session.FindDatabase(kParadoxDir)->RefCount(), 1);
}

}  // namespace
}  // namespace pellory::data::testing
