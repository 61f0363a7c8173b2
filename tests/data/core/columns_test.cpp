// Column definitions from the engine's descriptors, field objects made per
// column, and binding declared fields with their exact failure texts.
#include "pellory/data/columns.h"

#include <gtest/gtest.h>

#include "memory_dataset.h"
#include "pellory/data/errors.h"

namespace pellory::data {
namespace {

struct TypeCase {
  int logicalType;
  int subtype;
  int size;
  int length;
  TFieldType expected;
  int expectedSize;
};

class ColumnTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ColumnTypes, FollowTheLogicalTypeAndSubtype) {
  const TypeCase& c = GetParam();
  const auto defs = BuildColumnDefs({{1, "C", c.logicalType, c.subtype, c.size, c.length}});
  ASSERT_EQ(defs.size(), 1U);
  EXPECT_EQ(defs[0].dataType, c.expected) << FieldTypeName(defs[0].dataType);
  EXPECT_EQ(defs[0].size, c.expectedSize);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ColumnTypes,
    ::testing::Values(TypeCase{1, 0, 45, 45, ftString, 45},
                      TypeCase{1, 31, 45, 45, ftFixedChar, 45}, TypeCase{1, 0, 0, 0, ftUnknown, 0},
                      TypeCase{3, 22, 0, 10, ftMemo, 10}, TypeCase{3, 33, 0, 11, ftMemo, 11},
                      TypeCase{3, 23, 0, 10, ftBlob, 10}, TypeCase{3, 24, 0, 10, ftFmtMemo, 10},
                      TypeCase{3, 25, 0, 10, ftParadoxOle, 10},
                      TypeCase{3, 26, 0, 17, ftGraphic, 17}, TypeCase{3, 27, 0, 10, ftDBaseOle, 10},
                      TypeCase{3, 28, 0, 10, ftTypedBinary, 10}, TypeCase{3, 30, 0, 10, ftBlob, 10},
                      TypeCase{2, 0, 0, 4, ftDate, 0}, TypeCase{4, 0, 0, 1, ftBoolean, 0},
                      TypeCase{5, 0, 0, 2, ftSmallint, 0}, TypeCase{5, 0, 0, 4, ftUnknown, 0},
                      TypeCase{6, 0, 0, 4, ftInteger, 0}, TypeCase{6, 29, 0, 4, ftAutoInc, 0},
                      TypeCase{7, 0, 0, 8, ftFloat, 0}, TypeCase{7, 21, 0, 8, ftCurrency, 0},
                      TypeCase{8, 0, 32, 17, ftBCD, 0}, TypeCase{9, 0, 6, 6, ftBytes, 6},
                      TypeCase{10, 0, 0, 4, ftTime, 0}, TypeCase{11, 0, 0, 8, ftDateTime, 0},
                      TypeCase{12, 0, 0, 2, ftWord, 0}, TypeCase{12, 0, 0, 4, ftUnknown, 0},
                      TypeCase{13, 0, 0, 4, ftInteger, 0}, TypeCase{15, 0, 9, 11, ftVarBytes, 9},
                      TypeCase{18, 0, 0, 8, ftLargeint, 0}, TypeCase{19, 0, 0, 8, ftLargeint, 0},
                      TypeCase{21, 0, 3, 3, ftArray, 3}, TypeCase{0, 0, 1, 1, ftUnknown, 0},
                      TypeCase{14, 0, 1, 1, ftUnknown, 0}, TypeCase{24, 0, 1, 1, ftUnknown, 0}));

TEST(Columns, RepeatedNamesAreNumbered) {
  const auto defs = BuildColumnDefs({{1, "Name", 1, 0, 5, 5},
                                     {2, "NAME", 1, 0, 5, 5},
                                     {3, "Name_1", 1, 0, 5, 5},
                                     {4, "name", 1, 0, 5, 5}});
  std::vector<std::string> names;
  for (const auto& d : defs) names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "NAME_1", "Name_1_1", "name_2"}));
  EXPECT_EQ(defs[3].number, 4);
}

TEST(Columns, DriverNameComesFromTheExtension) {
  auto none = [](const std::string&) { return false; };
  auto foxFiles = [](const std::string& name) { return name == "dir/t.FPT"; };
  EXPECT_EQ(DriverNameFor("pelloryfont.DB", none), "PARADOX");
  EXPECT_EQ(DriverNameFor("table.db", none), "PARADOX");
  EXPECT_EQ(DriverNameFor("t.DBF", none), "DBASE");
  EXPECT_EQ(DriverNameFor("dir/t.dbf", foxFiles), "FOXPRO");
  EXPECT_EQ(DriverNameFor("t.txt", none), "ASCIIDRV");
  EXPECT_EQ(DriverNameFor("t.xyz", none), "PARADOX");
  EXPECT_EQ(DriverNameFor("dir.d/noext", none), "PARADOX");
}

TEST(Columns, FieldsMadePerColumnHaveTheColumnsClass) {
  const auto defs = BuildColumnDefs({{1, "Font Name", 1, 0, 45, 45},
                                     {2, "Odd", 14, 0, 1, 1},
                                     {3, "Description", 3, 22, 0, 10},
                                     {4, "Sample3", 3, 26, 0, 10},
                                     {5, "Raw", 3, 23, 0, 10}});
  std::vector<std::unique_ptr<TField>> made;
  for (const auto& d : defs) made.push_back(MakeFieldFor(d));
  EXPECT_NE(dynamic_cast<TStringField*>(made[0].get()), nullptr);
  EXPECT_EQ(made[0]->Size(), 45);
  EXPECT_EQ(made[1], nullptr);
  EXPECT_NE(dynamic_cast<TMemoField*>(made[2].get()), nullptr);
  EXPECT_TRUE(made[2]->Transliterate());
  EXPECT_NE(dynamic_cast<TGraphicField*>(made[3].get()), nullptr);
  EXPECT_FALSE(made[3]->Transliterate());
  EXPECT_EQ(made[4]->DataType(), ftBlob);
}

// The catalogue's columns, with one column changed by a test case.
std::vector<ColumnDescriptor> Catalogue() {
  return {{1, "Font Name", 1, 0, 45, 45},
          {2, "Filename", 1, 0, 13, 13},
          {3, "Category", 1, 0, 55, 55},
          {4, "Description", 3, 22, 0, 40},
          {5, "Sample3", 3, 26, 0, 30}};
}

struct BindCase {
  const char* name;
  ColumnDescriptor changed;  // replaces the column of the same number; number 0 drops Sample3
  const char* error;         // nullptr: binds
};

class Binding : public ::testing::TestWithParam<BindCase> {};

// Binding goes through a cursor subclass that exposes the protected steps.
struct BindingTable : testing::MemoryDataSet {
  BindingTable() : MemoryDataSet(0) {}
  using TDataSet::BindFields;
  using TDataSet::MakeFieldsForColumns;
  using TDataSet::UnbindFields;
};

TEST_P(Binding, ChecksTypesAndSizes) {
  const BindCase& c = GetParam();
  auto columns = Catalogue();
  if (c.changed.number == 0)
    columns.pop_back();
  else
    columns[static_cast<std::size_t>(c.changed.number - 1)] = c.changed;
  BindingTable table;
  table.AddField(std::make_unique<TStringField>("Font Name", 45));
  auto& description = table.AddField(std::make_unique<TMemoField>("Description", 10));
  table.AddField(std::make_unique<TStringField>("Filename", 13));
  table.AddField(std::make_unique<TStringField>("Category", 55));
  auto& sample = table.AddField(std::make_unique<TGraphicField>("Sample3", 10));
  const auto defs = BuildColumnDefs(columns);
  if (c.error == nullptr) {
    table.BindFields(defs);
    EXPECT_EQ(sample.FieldNo(), 5);
    EXPECT_EQ(sample.Size(), 30);
    EXPECT_EQ(description.Size(), 40);
    EXPECT_EQ(static_cast<TBlobField&>(sample).BlobSlot(), 1);
    table.UnbindFields();
    EXPECT_EQ(sample.FieldNo(), 0);
    return;
  }
  try {
    table.BindFields(defs);
    FAIL() << "binding must fail";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, Binding,
    ::testing::Values(
        BindCase{"Catalogue", {5, "Sample3", 3, 26, 0, 30}, nullptr},
        BindCase{"FontNameOf40",
                 {1, "Font Name", 1, 0, 40, 40},
                 "Table1: Size mismatch for field 'Font Name', expecting: 45 actual: 40"},
        BindCase{"NoSample3", {0, "", 0, 0, 0, 0}, "Table1: Field 'Sample3' not found"},
        BindCase{"FixedCharFontName", {1, "FONT NAME", 1, 31, 45, 45}, nullptr},
        BindCase{"DescriptionFormattedMemo", {4, "Description", 3, 24, 0, 40}, nullptr},
        BindCase{"DescriptionBinary", {4, "description", 3, 23, 0, 40}, nullptr},
        BindCase{"CategoryAsInteger",
                 {3, "Category", 6, 0, 0, 4},
                 "Table1: Type mismatch for field 'Category', expecting: String actual: Integer"},
        BindCase{"SampleAsText",
                 {5, "Sample3", 1, 0, 10, 10},
                 "Table1: Type mismatch for field 'Sample3', expecting: Graphic actual: String"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Columns, FieldsMadeAtOpenGoAgainAtClose) {
  BindingTable table;
  const auto defs = BuildColumnDefs(Catalogue());
  table.MakeFieldsForColumns(defs);
  ASSERT_EQ(table.Fields().size(), 5U);
  EXPECT_EQ(table.Fields()[0]->Name(), "Table1Font Name");
  table.BindFields(defs);
  table.UnbindFields();
  EXPECT_TRUE(table.Fields().empty());
}

}  // namespace
}  // namespace pellory::data
