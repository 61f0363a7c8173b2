// A thumb released anywhere on a large catalogue shows its record without
// reading the records before it: the engine's record reads are counted.
#include <QScrollBar>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/field.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "read_counting_engine.h"

namespace gridtest {
namespace {

constexpr int kRecords = 100000;

class GridThumbReads : public GridWindow {
 protected:
  void SetUp() override {
    GridWindow::SetUp();
    pellory::data::Session.SetEngine(engine);
  }
  void TearDown() override {
    GridWindow::TearDown();
    pellory::data::Session.SetEngine(nullptr);
  }
  static std::vector<Font> Large() {
    std::vector<Font> fonts;
    fonts.reserve(kRecords);
    for (int i = 1; i <= kRecords; ++i)
      fonts.push_back({"Font " + std::to_string(i), "f.ttf", "Script", "", {}});
    return fonts;
  }

  std::shared_ptr<ReadCountingEngine> engine =
      std::make_shared<ReadCountingEngine>(pellory::data::MakeDefaultEngine());
};

TEST_F(GridThumbReads, AJumpReadsOnlyAroundTheNewRecord) {
  Open(Large());
  pellory::data::TwwTable& table = *form->wwTable1();
  QScrollBar* bar = grid()->verticalScrollBar();
  ASSERT_EQ(table.RecordCount(), kRecords);
  ASSERT_EQ(bar->maximum(), 200);
  const int rows = grid()->VisibleDataRows();
  for (int position : {100, 37, 199, 1, 150}) {
    engine->reads = 0;
    bar->setSliderDown(true);
    bar->setSliderPosition(position);
    bar->setSliderDown(false);
    guitest::pump();
    const long record = long(kRecords) * position / 200 + 1;
    EXPECT_EQ(table.RecNo(), record);
    EXPECT_EQ(table.FieldByName("Font Name").AsString(), "Font " + std::to_string(record));
    EXPECT_EQ(grid()->Row(), (rows - 1) / 2 + 1);
    // The record itself, the rows around it, and the edges' failed reads;
    // never the thousands between.
    EXPECT_GT(engine->reads, 0) << "the record shown is read through the engine";
    EXPECT_LE(engine->reads, 2 * rows + 4) << "released at " << position;
    EXPECT_EQ(bar->value(), int((record - 1) * 200 / (kRecords - 1)));
  }
}

}  // namespace
}  // namespace gridtest
