// Filter texts over memo and BCD columns, compiled by the program and applied
// by the real engine, on a small table made with the table writer: memos in
// the record, in a shared blob block and in a block of their own; amounts with
// two decimals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "pellory/data/field.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "pellory/engine/table_writer.h"

namespace pellory::data::testing {
namespace {

namespace fs = std::filesystem;
using writer::FieldType;

writer::Value Text(std::string text) {
  return writer::Value(std::in_place_type<std::string>, std::move(text));
}

class MemoAndBcdFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pellory-memo-bcd-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    // A 20-byte memo column keeps 10 bytes in the record; 2 KiB and more get
    // a blob block of their own. Texts are in the table's code page, cp1252.
    writer::TableWriter w(dir_, "prices",
                          {{"Font Name", FieldType::Alpha, 20},
                           {"Description", FieldType::Memo, 20},
                           {"Amount", FieldType::Bcd, 2}});
    w.Append({Text("In record"), Text("a Sphinx"), Text("12.34")});
    w.Append({Text("Shared"), Text(std::string(100, '-') + "Sphinx"), Text("12.3")});
    w.Append({Text("Own block"), Text(std::string(3000, '.') + "F\xFCnf Sphinx"), Text("-12.34")});
    w.Append({Text("Plain"), Text("nothing to see here"), writer::Blank{}});
    w.Append({Text("Blank"), writer::Blank{}, Text("0")});
    w.Finish();
  }
  void TearDown() override {
    session.Stop();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::vector<std::string> Passing(const std::string& filter) {
    TTable table(session);
    table.SetName("Table1");
    table.SetDatabaseName(dir_.string());
    table.SetTableName("prices.DB");
    table.SetReadOnly(true);
    table.SetFilter(filter);
    table.SetFiltered(true);
    table.Open();
    std::vector<std::string> names;
    for (; !table.Eof(); table.Next()) names.push_back(table.FieldByName("Font Name").AsString());
    return names;
  }

  fs::path dir_;
  TSession session{"Default", true};
};

TEST_F(MemoAndBcdFilter, MatchWhereverTheValueIsStored) {
  const struct {
    const char* filter;
    std::vector<std::string> passing;
  } cases[] = {
      {"Description LIKE '%Sphinx'", {"In record", "Shared", "Own block"}},
      {"Description LIKE '%F\xC3\xBCnf Sphinx'", {"Own block"}},
      {"Description LIKE 'a Sphinx*'", {"In record"}},
      {"Description LIKE '%sphinx'", {}},
      {"Amount = 12.34", {"In record"}},
      {"Amount = 12.3", {"Shared"}},
      {"Amount < -12.3", {"Own block"}},
      {"Amount >= 0", {"In record", "Shared", "Blank"}},
      {"Amount IN (12.30, -12.34)", {"Shared", "Own block"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Passing(c.filter), c.passing) << c.filter;
}

}  // namespace
}  // namespace pellory::data::testing
