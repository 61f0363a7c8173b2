// The picture grid as a screen reader reads it: a table of the records the
// grid shows, titled columns, picture cells described by their font, the
// current cell focused. (The focus events a move sends go through a real
// accessibility bus: tests/programs.)
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

TEST_F(GridAccessible, TheTableHoldsTheShownRecordsUnderTheColumnTitles) {
  QAccessibleTableInterface* table = Table()->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(Table()->role(), QAccessible::Table);
  EXPECT_EQ(table->columnCount(), 2);
  EXPECT_EQ(table->rowCount(), grid()->RowCount() - 1) << "the rows the grid shows, not 12";
  EXPECT_LT(table->rowCount(), 12);
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
