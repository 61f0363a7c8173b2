// The grid window's keys: record moves, column moves, Tab wrapping from
// record to record, Insert refused by the read-only cursor, and the
// in-place editor over the name cells only.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"

namespace gridtest {
namespace {

class GridKeys : public GridWindow {
 protected:
  pellory::data::TwwTable& table() const { return *form->wwTable1(); }
  long recNo() const { return table().RecNo(); }
  void goTo(long record) {
    table().First();
    table().MoveBy(int(record - 1));
    guitest::pump();
  }
  // Where keys go: the editor while it is open, the grid otherwise.
  QWidget* focused() const { return QApplication::focusWidget(); }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    guitest::key(focused(), key, modifiers);
    guitest::pump();
  }
  QLineEdit* editor() const { return reinterpret_cast<QLineEdit*>(grid()->InplaceEditor()); }
};

TEST_F(GridKeys, RecordKeysMoveTheCursor) {
  Open(cataloguetest::Numbered(10));
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    long from;
    long to;
  };
  const Case cases[] = {
      {Qt::Key_Down, {}, 1, 2},
      {Qt::Key_Up, {}, 5, 4},
      {Qt::Key_Down, {}, 10, 10},
      {Qt::Key_Up, {}, 1, 1},
      {Qt::Key_PageDown, {}, 1, 4},
      {Qt::Key_PageUp, {}, 8, 5},
      {Qt::Key_PageDown, {}, 9, 10},
      {Qt::Key_PageUp, {}, 2, 1},
      {Qt::Key_Home, Qt::ControlModifier, 5, 1},
      {Qt::Key_End, Qt::ControlModifier, 5, 10},
  };
  for (const Case& c : cases) {
    goTo(c.from);
    press(c.key, c.modifiers);
    EXPECT_EQ(recNo(), c.to) << "key " << std::hex << c.key << " from " << std::dec << c.from;
    EXPECT_EQ(grid()->Col(), 1) << "the column stays";
  }
  EXPECT_TRUE(boxes->empty()) << "nothing is reported at the table's edges";
}

TEST_F(GridKeys, CtrlUpAndDownGoToTheFirstAndLastShownRow) {
  Open(cataloguetest::Numbered(10));
  for (int i = 0; i < 4; ++i) press(Qt::Key_Down);
  press(Qt::Key_Up);  // the view shows records 3 to 5, record 4 current
  ASSERT_EQ(recNo(), 4);
  ASSERT_EQ(grid()->Row(), 2);
  press(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(recNo(), 3);
  press(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(recNo(), 5);
  press(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(recNo(), 3);
  press(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(recNo(), 5);
  EXPECT_EQ(grid()->Row(), 3);
}

TEST_F(GridKeys, ColumnKeysMoveTheCurrentColumnWithoutWrapping) {
  Open(cataloguetest::Numbered(10));
  goTo(4);
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int col;
    int leftCol;
  };
  const Case cases[] = {
      {Qt::Key_Right, {}, 2, 2},
      {Qt::Key_Right, {}, 2, 2},
      {Qt::Key_Left, {}, 1, 1},
      {Qt::Key_Left, {}, 1, 1},
      {Qt::Key_End, {}, 2, 2},
      {Qt::Key_Home, {}, 1, 1},
      {Qt::Key_Right, Qt::ControlModifier, 2, 2},
      {Qt::Key_Left, Qt::ControlModifier, 1, 1},
  };
  for (const Case& c : cases) {
    press(c.key, c.modifiers);
    EXPECT_EQ(grid()->Col(), c.col) << "key " << std::hex << c.key;
    EXPECT_EQ(grid()->LeftCol(), c.leftCol) << "the current column is brought into view";
  }
  EXPECT_EQ(recNo(), 4) << "column keys leave the record";
}

TEST_F(GridKeys, TabWrapsToTheNextAndPreviousRecord) {
  Open(cataloguetest::Numbered(10));
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    long record;
    int col;
  };
  const Step steps[] = {
      {Qt::Key_Tab, {}, 1, 2},
      {Qt::Key_Tab, {}, 2, 1},
      {Qt::Key_Backtab, Qt::ShiftModifier, 1, 2},
      {Qt::Key_Backtab, Qt::ShiftModifier, 1, 1},
      {Qt::Key_Backtab, Qt::ShiftModifier, 1, 2},  // before the first record: the same one
      {Qt::Key_Tab, Qt::AltModifier, 1, 2},        // Alt+Tab does nothing
  };
  for (const Step& s : steps) {
    press(s.key, s.modifiers);
    EXPECT_EQ(recNo(), s.record);
    EXPECT_EQ(grid()->Col(), s.col);
  }
  goTo(10);
  press(Qt::Key_Tab);
  EXPECT_EQ(recNo(), 10) << "past the last column of the last record";
  EXPECT_EQ(grid()->Col(), 1);
  EXPECT_TRUE(grid()->hasFocus()) << "Tab never leaves the grid";
}

TEST_F(GridKeys, InsertIsRefusedWithTheCursorsNameAndChangesNothing) {
  Open(cataloguetest::Numbered(10));
  goTo(2);
  press(Qt::Key_Right);
  const QImage before = Client();
  press(Qt::Key_Insert);
  ASSERT_EQ(boxes->size(), 1u);
  // The error display ends the sentence with its period.
  EXPECT_EQ(boxes->front().text.toStdString(), "wwTable1: Cannot modify a read-only dataset.");
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Pellory Fonts"));
  EXPECT_EQ(recNo(), 2);
  EXPECT_EQ(grid()->Col(), 2);
  EXPECT_EQ(table().State(), pellory::data::DataSetState::Browse);
  EXPECT_EQ(Client(), before);
}

TEST_F(GridKeys, CtrlDeleteIsRefusedSilently) {
  Open(cataloguetest::Numbered(10));
  goTo(3);
  const QImage before = Client();
  press(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(recNo(), 3);
  EXPECT_EQ(Client(), before);
}

TEST_F(GridKeys, EditorOpensOverNameCellsOnlyAndTakesNoChange) {
  Open(cataloguetest::Numbered(10));
  goTo(2);
  press(Qt::Key_F2);
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editor()->text(), QStringLiteral("Font 2"));
  EXPECT_EQ(editor()->geometry(), Cell(1, grid()->Row()).intersected(grid()->viewport()->rect()));
  EXPECT_TRUE(editor()->hasFocus());
  guitest::type(editor(), QStringLiteral("xy"));
  EXPECT_EQ(editor()->text(), QStringLiteral("Font 2")) << "the read-only cursor takes no change";
  EXPECT_EQ(table().FieldByName("Font Name").AsString(), "Font 2");
  press(Qt::Key_Escape);
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(grid()->hasFocus());

  press(Qt::Key_Return);
  ASSERT_NE(editor(), nullptr) << "Enter opens";
  press(Qt::Key_Return);
  EXPECT_EQ(editor(), nullptr) << "and closes";

  press(Qt::Key_Right);
  for (Qt::Key key : {Qt::Key_F2, Qt::Key_Return, Qt::Key_A}) {
    press(key);
    EXPECT_EQ(editor(), nullptr) << "no editor over a picture, key " << std::hex << key;
  }
  EXPECT_TRUE(boxes->empty());
}

TEST_F(GridKeys, TypingOverANameOpensTheEditorAndTheCharacterIsRefused) {
  Open(cataloguetest::Numbered(10));
  press(Qt::Key_Q);
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editor()->text(), QStringLiteral("Font 1"));
}

TEST_F(GridKeys, WhileTheEditorIsOpenArrowsMoveTheCaretAndUpDownMoveRecords) {
  Open(cataloguetest::Numbered(10));
  press(Qt::Key_F2);
  ASSERT_NE(editor(), nullptr);
  press(Qt::Key_Home);
  EXPECT_EQ(editor()->cursorPosition(), 0);
  press(Qt::Key_Right);
  press(Qt::Key_Right);
  EXPECT_EQ(editor()->cursorPosition(), 2);
  press(Qt::Key_End);
  EXPECT_EQ(editor()->cursorPosition(), 6);
  EXPECT_EQ(grid()->Col(), 1) << "the caret moved, not the column";
  press(Qt::Key_Down);
  EXPECT_EQ(recNo(), 2);
  EXPECT_EQ(editor(), nullptr) << "a new current cell closes the editor";
  EXPECT_TRUE(grid()->hasFocus());
  press(Qt::Key_F2);
  ASSERT_NE(editor(), nullptr);
  press(Qt::Key_Tab);
  EXPECT_EQ(grid()->Col(), 2);
  EXPECT_EQ(editor(), nullptr);
  press(Qt::Key_Insert);
  EXPECT_EQ(boxes->size(), 1u) << "Insert still reaches the cursor";
}

// The editor copies its selection with both of the edit boxes' copy keys,
// and shows the selection in the program's highlight colours.
TEST_F(GridKeys, TheEditorCopiesWithCtrlInsertAndCtrlCAndShowsTheSelectionInNavy) {
  Open(cataloguetest::Numbered(3));
  press(Qt::Key_F2);
  ASSERT_NE(editor(), nullptr);
  ASSERT_EQ(editor()->selectedText(), QStringLiteral("Font 1"));
  for (const Qt::Key copyKey : {Qt::Key_Insert, Qt::Key_C}) {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    press(copyKey, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Font 1")) << copyKey;
    EXPECT_NE(editor(), nullptr) << copyKey;
  }
  EXPECT_TRUE(boxes->empty()) << "Ctrl+Insert is no Insert: " << boxes->front().text.toStdString();
  const QImage shown = editor()->grab().toImage();
  int navy = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) navy += shown.pixel(x, y) == 0xFF000080;
  EXPECT_GT(navy, 20) << "the selected text lies on the highlight colour";
}

}  // namespace
}  // namespace gridtest
