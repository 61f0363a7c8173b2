// The picture grid as a screen reader reads it: a table of the catalogue's
// records, titled columns, picture cells described by their font, the
// current cell focused in the row of its record number. (The focus events a
// move sends go through a real accessibility bus: tests/programs.)
#include <QAccessible>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/table.h"

namespace gridtest {
namespace {

class GridAccessible : public GridWindow {
 protected:
  void SetUp() override {
    GridWindow::SetUp();
    std::vector<Font> fonts = cataloguetest::Numbered(12);
    fonts[0].picture = Solid(30, 20, 0xFF0000);
    Open(fonts);
  }
  QAccessibleInterface* Table() const { return QAccessible::queryAccessibleInterface(grid()); }
  QString CellName(int row, int column) const {
    return Table()->tableInterface()->cellAt(row, column)->text(QAccessible::Name);
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    guitest::key(grid(), key, modifiers);
    guitest::pump();
  }
};

TEST_F(GridAccessible, TheTableHoldsTheCataloguesRecordsUnderTheColumnTitles) {
  QAccessibleTableInterface* table = Table()->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(Table()->role(), QAccessible::Table);
  EXPECT_EQ(table->columnCount(), 2);
  EXPECT_EQ(table->rowCount(), 12) << "every record, not the rows the grid shows";
  const int shown = grid()->RowCount() - 1;
  ASSERT_LT(shown, 12);
  EXPECT_EQ(table->columnDescription(0), QStringLiteral("Font Name"));
  EXPECT_EQ(table->columnDescription(1), QStringLiteral("Sample"));
  const QString expected[][2] = {{"Font 1", "Sample of Font 1"}, {"Font 2", "no picture"}};
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 2; ++column)
      EXPECT_EQ(CellName(row, column), expected[row][column]) << row << "," << column;
  QAccessibleInterface* first = table->cellAt(0, 0);
  EXPECT_TRUE(first->state().focused);
  EXPECT_FALSE(table->cellAt(1, 0)->state().focused);
  EXPECT_EQ(first->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
            QStringLiteral("Font Name"));
  EXPECT_EQ(Table()->indexOfChild(first), 2) << "after the two titles";
  // A record the grid does not hold is not read: empty, and off screen.
  QAccessibleInterface* last = table->cellAt(11, 0);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->text(QAccessible::Name), QString());
  EXPECT_TRUE(last->state().offscreen);
  EXPECT_TRUE(last->rect().isEmpty());
  EXPECT_EQ(last->tableCellInterface()->rowIndex(), 11);
  EXPECT_EQ(table->cellAt(12, 0), nullptr);
}

// The current cell stands in the row of its record number; the rows the
// grid holds read their records wherever the window lies.
TEST_F(GridAccessible, TheCurrentRowIsTheRecordNumberLessOne) {
  Press(Qt::Key_End, Qt::ControlModifier);
  QAccessibleTableInterface* table = Table()->tableInterface();
  QAccessibleInterface* focused = Table()->focusChild();
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->tableCellInterface()->rowIndex(), 11);
  EXPECT_EQ(focused->text(QAccessible::Name), QStringLiteral("Font 12"));
  EXPECT_EQ(form->wwTable1()->RecNo(), 12);
  EXPECT_EQ(CellName(10, 0), QStringLiteral("Font 11"));
  EXPECT_EQ(CellName(0, 0), QString()) << "the first record is no longer held";
  EXPECT_TRUE(table->cellAt(0, 0)->state().offscreen);
  const QRect shown = table->cellAt(11, 0)->rect();
  EXPECT_FALSE(shown.isEmpty());
  EXPECT_EQ(Table()->childAt(shown.center().x(), shown.center().y()), table->cellAt(11, 0));
}

// A filtered cursor has no record numbers: the rows are the records the
// grid holds.
TEST_F(GridAccessible, OnAFilteredCursorTheRowsAreTheHeldRecords) {
  pellory::data::TwwTable& cursor = *form->wwTable1();
  cursor.SetFilter("Category = 'Handwriting'");
  cursor.SetFiltered(true);
  guitest::pump();
  QAccessibleTableInterface* table = Table()->tableInterface();
  EXPECT_EQ(table->rowCount(), 2) << "Font 3 and Font 11";
  EXPECT_EQ(CellName(0, 0), QStringLiteral("Font 3"));
  EXPECT_EQ(CellName(1, 0), QStringLiteral("Font 11"));
  Press(Qt::Key_Down);
  QAccessibleInterface* focused = Table()->focusChild();
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->tableCellInterface()->rowIndex(), 1);
}

TEST_F(GridAccessible, TheFocusedCellFollowsTheKeys) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* read;
  };
  const Case cases[] = {{Qt::Key_Down, Qt::NoModifier, "Font 2"},
                        {Qt::Key_Right, Qt::NoModifier, "no picture"},
                        {Qt::Key_End, Qt::ControlModifier, "no picture"},
                        {Qt::Key_Left, Qt::NoModifier, "Font 12"},
                        {Qt::Key_Home, Qt::ControlModifier, "Font 1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.read);
    Press(c.key, c.modifiers);
    QAccessibleInterface* focused = Table()->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->text(QAccessible::Name), QString::fromLatin1(c.read));
    EXPECT_TRUE(focused->state().focused);
    EXPECT_EQ(Table()->tableInterface()->selectedCells().value(0), focused);
  }
}

}  // namespace
}  // namespace gridtest
