// The readers of the grid's two settings lists, on their own.
#include "grid_settings.h"

#include <gtest/gtest.h>

#include "memory_dataset.h"

namespace pellory::ui::grid {
namespace {

struct PartCase {
  std::string line;
  int start;
  std::string part;
  int next;
};

class ReadPartTest : public ::testing::TestWithParam<PartCase> {};

TEST_P(ReadPartTest, ReadsOnePartAndAdvances) {
  const PartCase& c = GetParam();
  int position = c.start;
  EXPECT_EQ(ReadPart(c.line, ';', position), c.part);
  EXPECT_EQ(position, c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, ReadPartTest,
    ::testing::Values(PartCase{"a;bc;d", 1, "a", 3}, PartCase{"a;bc;d", 3, "bc", 6},
                      PartCase{"a;bc;d", 6, "d", kNoPosition},
                      PartCase{"a;bc;d", 7, "", kNoPosition}, PartCase{"a;bc;d", 0, "", 0},
                      PartCase{"a;bc;d", kNoPosition, "", kNoPosition}, PartCase{";x", 1, "", 2},
                      PartCase{" a ;b", 1, " a ", 5}, PartCase{"a;", 3, "", kNoPosition}));

struct LookUpCase {
  std::vector<std::string> list;
  std::string field;
  std::string kind;
  std::string parameters;
};

class LookUpTest : public ::testing::TestWithParam<LookUpCase> {};

TEST_P(LookUpTest, FindsTheLastEntryOfTheExactName) {
  const LookUpCase& c = GetParam();
  const ControlType found = LookUpControlType(c.list, c.field);
  EXPECT_EQ(found.kind, c.kind);
  EXPECT_EQ(found.parameters, c.parameters);
}

const std::vector<std::string> kStored = {"Sample;Bitmap;Original Size;Source Copy",
                                          "Ads;CheckBox;True;False",
                                          "Sample3;Bitmap;Original Size;Source Copy"};

INSTANTIATE_TEST_SUITE_P(
    Entries, LookUpTest,
    ::testing::Values(
        LookUpCase{kStored, "Sample3", "Bitmap", "Original Size;Source Copy"},
        LookUpCase{kStored, "Ads", "CheckBox", "True;False"},
        LookUpCase{kStored, "sample3", "", ""}, LookUpCase{kStored, "Font Name", "", ""},
        LookUpCase{{"Sample3;Bitmap;Stretch To Fit", "Sample3;Bitmap;Fit Width;Merge Paint"},
                   "Sample3",
                   "Bitmap",
                   "Fit Width;Merge Paint"},
        LookUpCase{{"Sample3; Bitmap;Original Size"}, "Sample3", " Bitmap", "Original Size"},
        LookUpCase{{"Sample3;Bitmap"}, "Sample3", "Bitmap", ""},
        LookUpCase{{"Sample3;Bitmap;" + std::string(300, 'x')},
                   "Sample3",
                   "Bitmap",
                   std::string(255, 'x')}));

TEST(BitmapSettingsTest, KeywordsCompareWithCase) {
  struct Case {
    std::string parameters;
    SizingMode sizing;
    std::uint32_t operation;
  };
  const Case cases[] = {
      {"Original Size;Source Copy", SizingMode::OriginalSize, 0x00CC0020},
      {"Stretch To Fit;Source Paint", SizingMode::StretchToFit, 0x00EE0086},
      {"Fit Height;Source And", SizingMode::FitHeight, 0x008800C6},
      {"Fit Width;Source Invert", SizingMode::FitWidth, 0x00660046},
      {"Original Size;Source Erase", SizingMode::OriginalSize, 0x00440328},
      {"Original Size;Not Source Copy", SizingMode::OriginalSize, 0x00330008},
      {"Original Size;Not Source Erase", SizingMode::OriginalSize, 0x001100A6},
      {"Original Size;Merge Paint", SizingMode::OriginalSize, 0x00BB0226},
      {"original size;Merge Paint", SizingMode::None, 0x00BB0226},
      {"Original Size;merge paint", SizingMode::OriginalSize, 0x00CC0020},
      {"Original Size", SizingMode::OriginalSize, 0x00CC0020},
      {"", SizingMode::None, 0x00CC0020},
  };
  for (const Case& c : cases) {
    const BitmapSettings settings = ReadBitmapSettings(c.parameters);
    EXPECT_EQ(settings.sizing, c.sizing) << c.parameters;
    EXPECT_EQ(settings.rasterOperation, c.operation) << c.parameters;
  }
}

TEST(CheckBoxSettingsTest, ReadsCheckedThenUnchecked) {
  const CheckBoxSettings settings = ReadCheckBoxSettings("True;False");
  EXPECT_EQ(settings.checkedValue, "True");
  EXPECT_EQ(settings.uncheckedValue, "False");
}

TEST(WidthTest, DraggedPixelsBecomeWholeCharacters) {
  struct Case {
    int pixels, digit, characters;
  };
  const Case cases[] = {{164, 8, 20}, {167, 8, 20}, {168, 8, 20}, {172, 8, 21}, {4, 8, 0},
                        {0, 8, 0},    {2, 8, 0},    {100, 7, 13}, {5, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(CharactersForPixels(c.pixels, c.digit), c.characters)
        << c.pixels << " px at " << c.digit;
  EXPECT_EQ(ColumnPixelWidth(20, 8), 164);
  EXPECT_EQ(ColumnPixelWidth(0, 8), 4);
}

// A closed cursor with the fields A, B, C, D in that order.
class ColumnListTest : public ::testing::Test {
 protected:
  ColumnListTest() {
    for (const char* name : {"A", "B", "C", "D"})
      cursor.AddField(std::make_unique<data::TStringField>(name, 10));
  }
  std::string Visible() const {
    std::string out;
    for (const data::TField* f : cursor.Fields())
      if (f->Visible()) out += f->FieldName();
    return out;
  }
  std::string Order() const {
    std::string out;
    for (const data::TField* f : cursor.Fields()) out += f->FieldName();
    return out;
  }
  data::testing::MemoryDataSet cursor{0};
};

TEST_F(ColumnListTest, EntriesShowTheirFieldsInEntryOrder) {
  ApplyColumnList({"d\t7\tDee", "B\t5\tBee"}, cursor);
  EXPECT_EQ(Order(), "DBAC");
  EXPECT_EQ(Visible(), "DB");
  EXPECT_EQ(cursor.FieldByName("D").DisplayWidth(), 7);
  EXPECT_EQ(cursor.FieldByName("D").DisplayLabel(), "Dee");
  EXPECT_EQ(cursor.FieldByName("B").DisplayWidth(), 5);
}

TEST_F(ColumnListTest, AnEntryNamingNoFieldStillTakesItsPosition) {
  // C goes to position 1, then A from 0 to 2, which brings C back to 0.
  ApplyColumnList({"Nothing\t1\tX", "C\t3\tSee", "A\t2\tAy"}, cursor);
  EXPECT_EQ(Order(), "CBAD");
  EXPECT_EQ(Visible(), "CA");
  // Without the unnamed entry A would stand at 1, not 2.
  ApplyColumnList({"C\t3\tSee", "A\t2\tAy"}, cursor);
  EXPECT_EQ(Order(), "CABD");
}

TEST_F(ColumnListTest, TheLaterOfTwoEntriesForOneFieldDecides) {
  ApplyColumnList({"A\t1\tFirst", "B\t2\tBee", "A\t9\tSecond"}, cursor);
  const data::TField& a = cursor.FieldByName("A");
  EXPECT_EQ(a.DisplayWidth(), 9);
  EXPECT_EQ(a.DisplayLabel(), "Second");
  EXPECT_EQ(a.Index(), 2);
  EXPECT_EQ(Visible(), "BA");
}

TEST_F(ColumnListTest, ReadOnlyMarkIsAFourthPartOfT) {
  const std::vector<std::string> entries = {"A\t1\tAy\tT", "B\t1\tBee\tF", "C\t1\tSee"};
  EXPECT_TRUE(ColumnMarkedReadOnly(entries, "a"));
  EXPECT_FALSE(ColumnMarkedReadOnly(entries, "B"));
  EXPECT_FALSE(ColumnMarkedReadOnly(entries, "C"));
}

TEST_F(ColumnListTest, PruningKeepsEntriesNamingAFieldInAnyCase) {
  std::vector<std::string> list = {"Sample;Bitmap;Original Size", "b;Bitmap;Fit Width",
                                   "Ads;CheckBox;True;False", "D;CheckBox;Y;N"};
  PruneControlTypes(list, cursor);
  EXPECT_EQ(list, (std::vector<std::string>{"b;Bitmap;Fit Width", "D;CheckBox;Y;N"}));
}

}  // namespace
}  // namespace pellory::ui::grid
