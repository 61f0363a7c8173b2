// Input on a grid with nothing to move through: an empty catalogue, and a
// window whose catalogue could not be opened. Nothing moves, nothing
// breaks; only Insert on the open, empty cursor is refused aloud.
#include <QScrollBar>
#include <QWheelEvent>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/table.h"

namespace gridtest {
namespace {

class GridInputEdges : public GridWindow {
 protected:
  // Every key of the table, a click on each kind of cell, the wheel and
  // every scroll-bar command.
  void WorkEverything() {
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Left,
                        Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Tab, Qt::Key_F2,
                        Qt::Key_Return, Qt::Key_A, Qt::Key_Escape})
      guitest::key(grid(), key);
    guitest::key(grid(), Qt::Key_Home, Qt::ControlModifier);
    guitest::key(grid(), Qt::Key_End, Qt::ControlModifier);
    guitest::key(grid(), Qt::Key_Delete, Qt::ControlModifier);
    QWidget* area = grid()->viewport();
    for (QPoint p : {QPoint(5, 5), QPoint(5, 60), QPoint(60, 60), QPoint(300, 60), QPoint(60, 300)})
      QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, p);
    QWheelEvent wheel(QPointF(60, 60), area->mapToGlobal(QPointF(60, 60)), QPoint(),
                      QPoint(0, -360), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    for (QScrollBar* bar : {grid()->verticalScrollBar(), grid()->horizontalScrollBar()})
      for (auto action : {QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderPageStepSub,
                          QAbstractSlider::SliderToMaximum, QAbstractSlider::SliderToMinimum})
        bar->triggerAction(action);
    guitest::pump();
  }
};

TEST_F(GridInputEdges, AnEmptyCatalogueTakesEveryInputCalmly) {
  Open({});
  WorkEverything();
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(grid()->InplaceEditor(), nullptr) << "no editor without a record";
  EXPECT_EQ(grid()->verticalScrollBar()->value(), 0);
  guitest::key(grid(), Qt::Key_Insert);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().text.toStdString(), "wwTable1: Cannot modify a read-only dataset.");
}

TEST_F(GridInputEdges, AWindowWithoutItsCatalogueIgnoresInput) {
  OpenWithoutCatalogue();
  boxes->clear();  // the engine's refusal at opening
  ASSERT_FALSE(form->wwTable1()->Active());
  WorkEverything();
  guitest::key(grid(), Qt::Key_Insert);
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(grid()->InplaceEditor(), nullptr);
}

}  // namespace
}  // namespace gridtest
