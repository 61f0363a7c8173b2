// The grid window's mouse: presses on cells, indicators and the empty
// area, the wheel with its partial turns, a column border dragged to a new
// width that snaps to whole digits, and titles carried to new places.
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/shell/stored_font.h"

namespace gridtest {
namespace {

constexpr QRgb kFace = 0xFFC0C0C0;

class GridMouse : public GridWindow {
 protected:
  pellory::data::TwwTable& table() const { return *form->wwTable1(); }
  long recNo() const { return table().RecNo(); }
  QWidget* area() const { return grid()->viewport(); }
  void goTo(long record) {
    table().First();
    table().MoveBy(int(record - 1));
    guitest::pump();
  }
  void clickAt(QPoint p) {
    QTest::mouseClick(area(), Qt::LeftButton, Qt::NoModifier, p);
    guitest::pump();
  }
  void wheel(int delta) {
    const QPointF at = Cell(1, 1).center();
    QWheelEvent event(at, area()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area(), &event);
    guitest::pump();
  }
  // Pressed at `from`, carried in small steps to `to`, released there.
  void drag(QPoint from, QPoint to) {
    QTest::mousePress(area(), Qt::LeftButton, Qt::NoModifier, from);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
      QTest::mouseMove(area(), from + (to - from) * i / steps);
      guitest::pump();
    }
    QTest::mouseRelease(area(), Qt::LeftButton, Qt::NoModifier, to);
    guitest::pump();
  }
  // The grid line after a data column.
  int borderAfter(int col) const { return Cell(col, 0).left() + grid()->ColWidth(col); }
  QString columnName(int col) const { return grid()->Columns().at(std::size_t(col - 1)).fieldName; }
  QWidget* editor() const { return reinterpret_cast<QWidget*>(grid()->InplaceEditor()); }
  static int digit() {
    return QFontMetrics(pellory::shell::StoredFont{}.ToQFont()).horizontalAdvance(QLatin1Char('0'));
  }
};

TEST_F(GridMouse, ClickingTheCurrentNameCellOpensTheEditorButNotThePictureCell) {
  Open(WithPicture(5, Solid(40, 30, kBlue)));
  clickAt(Cell(1, 1).center());
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editor()->geometry(), Cell(1, 1).intersected(area()->rect()));
  clickAt(Cell(2, 1).center());
  EXPECT_EQ(editor(), nullptr) << "a new current cell closes it";
  EXPECT_EQ(grid()->Col(), 2);
  clickAt(Cell(2, 1).center());
  EXPECT_EQ(editor(), nullptr) << "no editor over a picture";
  EXPECT_EQ(recNo(), 1);
}

TEST_F(GridMouse, PressesMoveTheCursorByRows) {
  Open(cataloguetest::Numbered(10));
  struct Case {
    const char* what;
    QPoint at;
    long record;
    int col;
  };
  const Case cases[] = {
      {"name cell of row 3", Cell(1, 3).center(), 3, 1},
      {"indicator of row 2", Cell(0, 2).center(), 2, 1},
      {"top-left cell", Cell(0, 0).center(), 2, 1},
      {"name title", Cell(1, 0).center(), 2, 1},
      {"name cell of row 1", Cell(1, 1).center(), 1, 1},
      // Last: the picture column, made current, is brought into view from
      // its left edge, which moves every cell.
      {"picture cell of row 3", Cell(2, 3).center(), 3, 2},
  };
  for (const Case& c : cases) {
    clickAt(c.at);
    EXPECT_EQ(recNo(), c.record) << c.what;
    EXPECT_EQ(grid()->Col(), c.col) << c.what;
  }
  EXPECT_EQ(grid()->LeftCol(), 2);
  EXPECT_EQ(editor(), nullptr) << "no click was on the current name cell";
}

TEST_F(GridMouse, PressesBelowTheLastRowDoNothing) {
  Open(cataloguetest::Numbered(2));
  ASSERT_EQ(grid()->RowCount(), 3);
  clickAt(QPoint(Cell(1, 2).center().x(), Cell(1, 2).bottom() + 20));
  clickAt(QPoint(Cell(0, 2).center().x(), Cell(0, 2).bottom() + 20));
  EXPECT_EQ(recNo(), 1);
  EXPECT_EQ(grid()->Col(), 1);
}

TEST_F(GridMouse, APressRightOfTheLastColumnKeepsTheColumn) {
  // Narrow columns leave room right of the last one.
  Open(cataloguetest::Numbered(5), Selected({"Font Name\t10\tFont Name", "Sample3\t10\tSample"}));
  const QPoint right(borderAfter(2) + 30, Cell(1, 3).center().y());
  ASSERT_LT(right.x(), area()->width());
  clickAt(right);
  EXPECT_EQ(recNo(), 3);
  EXPECT_EQ(grid()->Col(), 1);
}

TEST_F(GridMouse, APressFirstTakesTheFocusOrIsIgnored) {
  Open(cataloguetest::Numbered(5));
  grid()->clearFocus();
  guitest::pump();
  ASSERT_FALSE(grid()->hasFocus());
  clickAt(Cell(1, 2).center());
  EXPECT_TRUE(grid()->hasFocus());
  EXPECT_EQ(recNo(), 2);
  grid()->setFocusPolicy(Qt::NoFocus);
  grid()->clearFocus();
  guitest::pump();
  clickAt(Cell(1, 3).center());
  EXPECT_EQ(recNo(), 2) << "a grid that cannot take the focus ignores the press";
}

TEST_F(GridMouse, WheelStepsARecordForEveryHundredAndTwentyUnits) {
  Open(cataloguetest::Numbered(10));
  struct Case {
    std::vector<int> turns;  // negative: toward the user
    long from;
    long to;
    int remainder;
  };
  const Case cases[] = {
      {{-240}, 1, 3, 0}, {{-60, -60}, 1, 2, 0},   {{-60}, 1, 1, -60},
      {{120}, 5, 4, 0},  {{-90, -90}, 1, 2, -60}, {{-200}, 1, 2, -80},
      {{360}, 2, 1, 0},  {{-120}, 10, 10, 0},     {{-60, 60}, 4, 4, 0},
  };
  for (const Case& c : cases) {
    // Each case starts from a whole notch: turning back what is left
    // steps nowhere.
    if (const int left = grid()->WheelRemainder(); left != 0) wheel(-left);
    ASSERT_EQ(grid()->WheelRemainder(), 0);
    goTo(c.from);
    for (int turn : c.turns) wheel(turn);
    EXPECT_EQ(recNo(), c.to) << "from " << c.from << ", " << c.turns.size() << " turns";
    EXPECT_EQ(grid()->WheelRemainder(), c.remainder);
  }
  EXPECT_TRUE(boxes->empty());
}

TEST_F(GridMouse, WheelOverTheScrollBarsStepsRecordsToo) {
  Open(cataloguetest::Numbered(10));
  for (QWidget* bar : {static_cast<QWidget*>(grid()->verticalScrollBar()),
                       static_cast<QWidget*>(grid()->horizontalScrollBar())}) {
    const QPointF at = bar->rect().center();
    QWheelEvent event(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &event);
    guitest::pump();
  }
  EXPECT_EQ(recNo(), 5);
  EXPECT_EQ(grid()->verticalScrollBar()->value(), 4 * 200 / 9) << "the bar follows the cursor";
  EXPECT_EQ(grid()->LeftCol(), 1) << "the columns stay";
}

TEST_F(GridMouse, ADraggedBorderSnapsToWholeDigitsPlusFour) {
  Open(cataloguetest::Numbered(5));
  const int w0 = digit();
  const int pictureWidth = grid()->ColWidth(2);
  struct Case {
    int grab;  // where the border is taken, from its line
    int by;    // how far the pointer travels
  };
  for (const Case c : {Case{0, 37}, {3, 40}, {-3, -45}, {4, 5}, {0, w0 / 2 + 1}}) {
    const int old = grid()->ColWidth(1);
    const int line = borderAfter(1);
    drag(QPoint(line + c.grab, 10), QPoint(line + c.grab + c.by, 10));
    const int dragged = old + c.by;  // the border keeps the offset it was grabbed at
    const int characters = (dragged + w0 / 2 - 7) / w0;
    const pellory::data::TField& name = table().FieldByName("Font Name");
    EXPECT_EQ(name.DisplayWidth(), characters) << "grab " << c.grab << " by " << c.by;
    EXPECT_EQ(grid()->ColWidth(1), characters * w0 + 4) << "grab " << c.grab << " by " << c.by;
    EXPECT_LE(std::abs(grid()->ColWidth(1) - dragged), w0) << "the nearest whole digit";
    EXPECT_EQ(grid()->ColWidth(2), pictureWidth) << "the picture column keeps its width";
  }
}

TEST_F(GridMouse, ABorderDraggedToOnePixelOrLessIsIgnored) {
  Open(cataloguetest::Numbered(5));
  const int old = grid()->ColWidth(1);
  const int line = borderAfter(1);
  drag(QPoint(line, 10), QPoint(Cell(1, 0).left() + 1, 10));
  EXPECT_EQ(grid()->ColWidth(1), old);
  EXPECT_EQ(table().FieldByName("Font Name").DisplayWidth(), 20);
}

TEST_F(GridMouse, DraggingSampleOntoFontNamePutsThePicturesFirst) {
  Open(WithPicture(3, Solid(40, 30, kBlue)));
  drag(Cell(2, 0).topLeft() + QPoint(30, 10), Cell(1, 0).topLeft() + QPoint(20, 10));
  ASSERT_EQ(grid()->ColCount(), 3);
  EXPECT_EQ(columnName(1), QStringLiteral("Sample3"));
  EXPECT_EQ(columnName(2), QStringLiteral("Font Name"));
  EXPECT_EQ(table().FieldByName("Sample3").Index() < table().FieldByName("Font Name").Index(),
            true);
  EXPECT_EQ(PixelAt(Cell(1, 2).topLeft() + QPoint(5, 5)), kBlue) << "pictures in the first column";
}

TEST_F(GridMouse, ShortMovesAndReleasesOverTheSameColumnMoveNothing) {
  Open(cataloguetest::Numbered(3));
  const QPoint title = Cell(2, 0).topLeft() + QPoint(30, 10);
  for (QPoint to : {title + QPoint(2, 0), title + QPoint(-2, 2), title + QPoint(40, 0)}) {
    drag(title, to);
    EXPECT_EQ(columnName(1), QStringLiteral("Font Name"));
    EXPECT_EQ(columnName(2), QStringLiteral("Sample3"));
  }
}

TEST_F(GridMouse, DropsOutsideTheColumnsGoFirstOrLast) {
  Open(cataloguetest::Numbered(3), Selected({"Font Name\t10\tFont Name", "Sample3\t10\tSample"}));
  // Right of a fully shown last column: the last place.
  drag(Cell(1, 0).topLeft() + QPoint(20, 10), QPoint(borderAfter(2) + 40, 10));
  EXPECT_EQ(columnName(1), QStringLiteral("Sample3"));
  EXPECT_EQ(columnName(2), QStringLiteral("Font Name"));
  // Over the indicator column: the first place.
  drag(Cell(2, 0).topLeft() + QPoint(20, 10), QPoint(4, 10));
  EXPECT_EQ(columnName(1), QStringLiteral("Font Name"));
  EXPECT_EQ(columnName(2), QStringLiteral("Sample3"));
}

// Past the grid's right edge the pointer is over no column, even where the
// partly shown last column goes on out of sight.
TEST_F(GridMouse, ADropPastTheRightEdgeOverAPartlyShownLastColumnGoesFirst) {
  Open(cataloguetest::Numbered(3));
  const int width = area()->width();
  const QPoint from = Cell(2, 0).topLeft() + QPoint(10, 10);
  const QPoint past(width + 10, 10);
  ASSERT_LT(from.x(), width);
  ASSERT_GT(borderAfter(2), past.x()) << "the last column is only partly shown";
  // Quicker than the auto-scroll's first step, which would change the case.
  QTest::mousePress(area(), Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(area(), from + QPoint(6, 0));
  QTest::mouseMove(area(), past);
  QTest::mouseRelease(area(), Qt::LeftButton, Qt::NoModifier, past);
  guitest::pump();
  ASSERT_EQ(grid()->LeftCol(), 1) << "no auto-scroll happened";
  EXPECT_EQ(columnName(1), QStringLiteral("Sample3"));
  EXPECT_EQ(columnName(2), QStringLiteral("Font Name"));
}

TEST_F(GridMouse, TheTitleImageFollowsThePointerAndTheGridScrollsRight) {
  Open(cataloguetest::Numbered(3));
  const QPoint from = Cell(1, 0).topLeft() + QPoint(20, 10);
  QTest::mousePress(area(), Qt::LeftButton, Qt::NoModifier, from);
  for (int x = from.x(); x <= area()->width() - 10; x += 40) {
    QTest::mouseMove(area(), QPoint(x, 10));
    guitest::pump();
  }
  ASSERT_EQ(grid()->LeftCol(), 1);
  // The title's image, with its black right and bottom edges, follows the
  // pointer 15 pixels below the grid's top.
  const QLabel* image = grid()->findChild<QLabel*>();
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->isVisible());
  EXPECT_EQ(image->y(), pellory::ui::TwwDBGrid::DragVertOffset);
  const QImage picture = image->pixmap().toImage();
  EXPECT_EQ(picture.pixel(picture.width() - 1, 5), kBlack);
  EXPECT_EQ(picture.pixel(5, picture.height() - 1), kBlack);
  EXPECT_EQ(picture.pixel(picture.width() / 2, 5), kFace) << "the title's own background";
  // The image now reaches past the right edge while the pointer moved right.
  EXPECT_TRUE(guitest::pumpUntil([&] { return grid()->LeftCol() == 2; }, 1000));
  QTest::mouseRelease(area(), Qt::LeftButton, Qt::NoModifier, QPoint(area()->width() - 10, 10));
  guitest::pump();
  EXPECT_EQ(columnName(2), QStringLiteral("Font Name")) << "dropped on the picture column";
}

TEST_F(GridMouse, AutoScrollGoesLeftWhenThePointerLastMovedLeft) {
  Open(cataloguetest::Numbered(3),
       Selected({"Font Name\t40\tFont Name", "Sample3\t40\tSample", "Filename\t40\tFile"}));
  grid()->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  guitest::pump();
  const int left = grid()->LeftCol();
  ASSERT_GT(left, 1);
  const QPoint from = Cell(left, 0).topLeft() + QPoint(20, 10);
  QTest::mousePress(area(), Qt::LeftButton, Qt::NoModifier, from);
  for (int x = from.x(); x >= 0; x -= 10) {
    QTest::mouseMove(area(), QPoint(x, 10));
    guitest::pump();
  }
  EXPECT_TRUE(guitest::pumpUntil([&] { return grid()->LeftCol() == 1; }, 2000));
  QTest::mouseRelease(area(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 10));
  guitest::pump();
  EXPECT_EQ(grid()->findChild<QLabel*>() ? grid()->findChild<QLabel*>()->isVisible() : false, false)
      << "the image goes with the release";
}

TEST_F(GridMouse, ADoubleClickRunsTheDoubleClickEvent) {
  Open(cataloguetest::Numbered(5));
  int clicks = 0;
  grid()->OnDblClick = [&clicks](pellory::ui::TwwDBGrid&) { ++clicks; };
  QTest::mouseDClick(area(), Qt::LeftButton, Qt::NoModifier, Cell(1, 1).center());
  guitest::pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(GridMouse, ThePointerShowsWhereABorderCanBeDragged) {
  Open(cataloguetest::Numbered(3));
  const int line = borderAfter(1);
  struct Case {
    QPoint at;
    bool resize;
  };
  for (const Case c : {Case{{line - 3, 10}, true},
                       {{line + 4, 10}, true},
                       {{line - 4, 10}, false},
                       {{line + 5, 10}, false},
                       {{line, Cell(1, 1).center().y()}, false}}) {
    QTest::mouseMove(area(), c.at);
    guitest::pump();
    EXPECT_EQ(area()->cursor().shape() == Qt::SplitHCursor, c.resize) << c.at.x() - line;
  }
}

}  // namespace
}  // namespace gridtest
