// The grid window's scroll bars: the vertical bar's position by record
// number or by five coarse positions, its commands and its thumb, and the
// horizontal bar's two stops over the name and picture columns.
#include <QScrollBar>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/datalink.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"

namespace gridtest {
namespace {

using Action = QAbstractSlider::SliderAction;

class GridScroll : public GridWindow {
 protected:
  QScrollBar* vertical() const { return grid()->verticalScrollBar(); }
  QScrollBar* horizontal() const { return grid()->horizontalScrollBar(); }
  pellory::data::TwwTable& table() const { return *form->wwTable1(); }
  long recNo() const { return table().RecNo(); }
  std::string currentName() const { return table().FieldByName("Font Name").AsString(); }
  void goTo(long record) {
    table().First();
    table().MoveBy(int(record - 1));
    guitest::pump();
  }
  // The thumb dragged to `position` and let go, as the mouse does it.
  static void releaseThumb(QScrollBar* bar, int position) {
    bar->setSliderDown(true);
    bar->setSliderPosition(position);
    bar->setSliderDown(false);
    guitest::pump();
  }
  // Only every record from the first passes, but the cursor is no longer
  // numbered.
  void filterAll() {
    table().SetFilter("Filename = 'f*'");
    table().SetFiltered(true);
    guitest::pump();
  }
};

TEST_F(GridScroll, NumberedPositionFollowsTheRecordNumber) {
  Open(cataloguetest::Numbered(10));
  ASSERT_EQ(vertical()->maximum(), 200);
  struct Case {
    long record;
    int position;
  };
  // (record - 1) * 200 div 9, truncated.
  for (const Case c : {Case{1, 0}, {2, 22}, {4, 66}, {9, 177}, {10, 200}}) {
    goTo(c.record);
    ASSERT_EQ(recNo(), c.record);
    EXPECT_EQ(vertical()->value(), c.position) << "record " << c.record;
  }
}

TEST_F(GridScroll, ThumbReleasedAtAHundredShowsRecordSixInTheMiddleRow) {
  Open(cataloguetest::Numbered(10));
  releaseThumb(vertical(), 100);
  EXPECT_EQ(recNo(), 6);
  EXPECT_EQ(currentName(), "Font 6");
  EXPECT_EQ(grid()->Row(), 2) << "(3 rows - 1) div 2 + 1";
  EXPECT_EQ(vertical()->value(), 5 * 200 / 9);
  // The rows above and below show the neighbours: moving into them does
  // not move the view.
  guitest::key(grid(), Qt::Key_Up);
  EXPECT_EQ(recNo(), 5);
  EXPECT_EQ(grid()->Row(), 1);
  guitest::key(grid(), Qt::Key_Down);
  guitest::key(grid(), Qt::Key_Down);
  EXPECT_EQ(recNo(), 7);
  EXPECT_EQ(grid()->Row(), 3);
}

TEST_F(GridScroll, ThumbAtTheEndsGoesToTheFirstAndLastRecord) {
  Open(cataloguetest::Numbered(10));
  releaseThumb(vertical(), 200);
  EXPECT_EQ(recNo(), 10);
  EXPECT_EQ(grid()->Row(), 3);
  EXPECT_EQ(vertical()->value(), 200);
  releaseThumb(vertical(), 0);
  EXPECT_EQ(recNo(), 1);
  EXPECT_EQ(grid()->Row(), 1);
  EXPECT_EQ(vertical()->value(), 0);
}

TEST_F(GridScroll, ThumbNearTheEndStandsNearerTheEdge) {
  Open(cataloguetest::Numbered(10));
  releaseThumb(vertical(), 190);  // 10 * 190 div 200 + 1 = 10
  EXPECT_EQ(recNo(), 10);
  EXPECT_EQ(grid()->Row(), 3) << "no record follows the last";
}

TEST_F(GridScroll, DraggingTheThumbMovesNothingUntilReleased) {
  Open(cataloguetest::Numbered(10));
  vertical()->setSliderDown(true);
  vertical()->setSliderPosition(150);
  guitest::pump();
  EXPECT_EQ(recNo(), 1);
  vertical()->setSliderDown(false);
  guitest::pump();
  EXPECT_EQ(recNo(), 10 * 150 / 200 + 1);
}

TEST_F(GridScroll, CommandsMoveTheCursor) {
  Open(cataloguetest::Numbered(10));
  struct Case {
    Action action;
    long from;
    long to;
  };
  const Case cases[] = {
      {Action::SliderSingleStepAdd, 5, 6}, {Action::SliderSingleStepSub, 5, 4},
      {Action::SliderPageStepAdd, 5, 8},   {Action::SliderPageStepSub, 5, 2},
      {Action::SliderToMinimum, 5, 1},     {Action::SliderToMaximum, 5, 10},
      {Action::SliderSingleStepSub, 1, 1}, {Action::SliderSingleStepAdd, 10, 10},
      {Action::SliderPageStepAdd, 9, 10},  {Action::SliderPageStepSub, 2, 1},
  };
  for (const Case& c : cases) {
    goTo(c.from);
    vertical()->triggerAction(c.action);
    guitest::pump();
    EXPECT_EQ(recNo(), c.to) << "action " << int(c.action) << " from " << c.from;
    const int expected = c.to == 1 ? 0 : c.to == 10 ? 200 : int((c.to - 1) * 200 / 9);
    EXPECT_EQ(vertical()->value(), expected) << "action " << int(c.action) << " from " << c.from;
  }
}

TEST_F(GridScroll, CommandsAreIgnoredWhenTheGridCannotTakeTheFocus) {
  Open(cataloguetest::Numbered(10));
  grid()->setFocusPolicy(Qt::NoFocus);
  grid()->clearFocus();
  guitest::pump();
  vertical()->triggerAction(Action::SliderPageStepAdd);
  releaseThumb(vertical(), 100);
  guitest::pump();
  EXPECT_EQ(recNo(), 1);
  EXPECT_EQ(vertical()->value(), 0);
}

TEST_F(GridScroll, UnnumberedCursorUsesFivePositions) {
  Open(cataloguetest::Numbered(10));
  filterAll();
  ASSERT_FALSE(table().IsSequenced());
  EXPECT_EQ(vertical()->maximum(), 4);
  EXPECT_EQ(vertical()->value(), 0);
  guitest::key(grid(), Qt::Key_Down);
  EXPECT_EQ(vertical()->value(), 2);
  guitest::key(grid(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(vertical()->value(), 4);

  struct Case {
    int position;
    std::string from;
    std::string to;
  };
  // 1 and 3 page by the three rows that fit; 2 does nothing.
  const Case cases[] = {{0, "Font 7", "Font 1"},
                        {1, "Font 7", "Font 4"},
                        {2, "Font 7", "Font 7"},
                        {3, "Font 4", "Font 7"},
                        {4, "Font 4", "Font 10"}};
  for (const Case& c : cases) {
    table().First();
    while (currentName() != c.from && !table().Eof()) table().Next();
    ASSERT_EQ(currentName(), c.from);
    releaseThumb(vertical(), c.position);
    EXPECT_EQ(currentName(), c.to) << "released at " << c.position;
  }
}

TEST_F(GridScroll, HorizontalBarHasTwoStops) {
  Open(cataloguetest::Numbered(3));
  ASSERT_TRUE(horizontal()->isVisible());
  EXPECT_EQ(horizontal()->maximum(), 127);
  EXPECT_EQ(horizontal()->value(), 0);
  EXPECT_EQ(grid()->LeftCol(), 1);
  horizontal()->triggerAction(Action::SliderSingleStepAdd);
  EXPECT_EQ(grid()->LeftCol(), 2);
  EXPECT_EQ(horizontal()->value(), 127);
  horizontal()->triggerAction(Action::SliderSingleStepAdd);
  EXPECT_EQ(grid()->LeftCol(), 2) << "the picture column is the last first column";
  horizontal()->triggerAction(Action::SliderPageStepSub);
  EXPECT_EQ(grid()->LeftCol(), 1);
  horizontal()->triggerAction(Action::SliderPageStepAdd);
  EXPECT_EQ(grid()->LeftCol(), 2);
  horizontal()->triggerAction(Action::SliderSingleStepSub);
  EXPECT_EQ(grid()->LeftCol(), 1);
  // Released anywhere short of the end, the thumb goes back to the names.
  releaseThumb(horizontal(), 100);
  EXPECT_EQ(grid()->LeftCol(), 1);
  EXPECT_EQ(horizontal()->value(), 0);
  releaseThumb(horizontal(), 127);
  EXPECT_EQ(grid()->LeftCol(), 2);
}

TEST_F(GridScroll, PicturesFirstShowsThePictureColumnBesideTheIndicator) {
  Open(WithPicture(3, Solid(40, 30, qRgb(0, 0, 255))));
  const QRect before = Cell(2, 1);
  horizontal()->triggerAction(Action::SliderSingleStepAdd);
  guitest::pump();
  EXPECT_TRUE(Cell(1, 1).isEmpty()) << "the name column is scrolled out";
  const QRect after = Cell(2, 1);
  EXPECT_EQ(after.left(), 12);
  EXPECT_LT(after.left(), before.left());
  // The picture of the second row, one pixel in from its cell's corner.
  EXPECT_EQ(PixelAt(Cell(2, 2).topLeft() + QPoint(5, 5)), qRgb(0, 0, 255));
  EXPECT_EQ(PixelAt(QPoint(5, 5)), qRgb(192, 192, 192)) << "the top-left cell stays";
}

TEST_F(GridScroll, HorizontalPagesMoveByTheColumnsInView) {
  // Four columns of 30 digits: two fit side by side.
  Open(cataloguetest::Numbered(3), Selected({"Font Name\t30\tFont Name", "Filename\t30\tFile",
                                             "Category\t30\tCategory", "Sample3\t30\tSample"}));
  ASSERT_EQ(grid()->ColCount(), 5);
  const int width = grid()->ColWidth(1);
  ASSERT_LE(12 + 2 * (width + 1), grid()->viewport()->width() + 1);
  ASSERT_GT(12 + 3 * (width + 1), grid()->viewport()->width() + 1);
  struct Step {
    Action action;
    int leftCol;
    int position;  // (first shown - 1) * 127 / 2, rounded
  };
  const Step steps[] = {
      {Action::SliderPageStepAdd, 3, 127},  {Action::SliderPageStepSub, 1, 0},
      {Action::SliderSingleStepAdd, 2, 64}, {Action::SliderPageStepAdd, 3, 127},
      {Action::SliderSingleStepSub, 2, 64}, {Action::SliderToMinimum, 1, 0},
  };
  for (const Step& s : steps) {
    horizontal()->triggerAction(s.action);
    EXPECT_EQ(grid()->LeftCol(), s.leftCol) << "action " << int(s.action);
    EXPECT_EQ(horizontal()->value(), s.position) << "action " << int(s.action);
  }
  for (const auto& [position, leftCol] : {std::pair{63, 1}, {64, 2}, {126, 2}, {127, 3}}) {
    releaseThumb(horizontal(), position);
    EXPECT_EQ(grid()->LeftCol(), leftCol) << "released at " << position;
  }
  guitest::key(grid(), Qt::Key_Home);
  EXPECT_EQ(grid()->LeftCol(), 1) << "the first column made current comes into view";
  guitest::key(grid(), Qt::Key_End);
  EXPECT_EQ(grid()->Col(), 4);
  EXPECT_EQ(grid()->LeftCol(), 3);
}

// Every change of a bar's value is a scroll command. The bars' own context
// menu changes the value directly for its "Scroll here" (its other entries
// are the commands Top, Bottom, Page up...): the value it sets is taken as
// the thumb released there, so that the bar and the grid agree.
TEST_F(GridScroll, AValueSetOnTheBarMovesTheCursorAsTheThumbReleasedThere) {
  Open(cataloguetest::Numbered(10));
  vertical()->setValue(100);
  guitest::pump();
  EXPECT_EQ(recNo(), 6) << "10 x 100 div 200 + 1";
  EXPECT_EQ(currentName(), "Font 6");
  EXPECT_EQ(vertical()->value(), 5 * 200 / 9) << "the bar shows the record";
  vertical()->setValue(200);
  guitest::pump();
  EXPECT_EQ(recNo(), 10);
  EXPECT_EQ(vertical()->value(), 200);

  ASSERT_TRUE(horizontal()->isVisible());
  horizontal()->setValue(127);
  guitest::pump();
  EXPECT_EQ(grid()->LeftCol(), 2) << "the columns followed the bar";
  EXPECT_EQ(horizontal()->value(), 127);
}

// A middle click on a bar is no command of the grid's: nothing moves.
TEST_F(GridScroll, AMiddleClickOnABarMovesNothing) {
  Open(cataloguetest::Numbered(10));
  for (QScrollBar* bar : {vertical(), horizontal()}) {
    const QPoint end = bar == vertical() ? QPoint(bar->width() / 2, bar->height() - 20)
                                         : QPoint(bar->width() - 20, bar->height() / 2);
    QTest::mouseClick(bar, Qt::MiddleButton, Qt::NoModifier, end);
    guitest::pump();
  }
  EXPECT_EQ(recNo(), 1);
  EXPECT_EQ(vertical()->value(), 0);
  EXPECT_EQ(grid()->LeftCol(), 1);
  EXPECT_EQ(horizontal()->value(), 0);
}

}  // namespace
}  // namespace gridtest
