// The picture grid's scroll bars: the vertical one moves the cursor (by
// record number on a numbered cursor, by five coarse positions otherwise),
// the horizontal one moves the first shown data column.
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "grid_data_link.h"
#include "inplace_edit.h"
#include "pellory/data/dataset.h"
#include "pellory/data/table.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

namespace {

constexpr int kNumberedRange = 200;
constexpr int kPositionRange = 4;
constexpr int kHorizontalRange = 127;

}  // namespace

void TwwDBGrid::ConnectScrollBars() {
  QScrollBar* vertical = verticalScrollBar();
  QScrollBar* horizontal = horizontalScrollBar();
  vertical->setFocusPolicy(Qt::NoFocus);
  horizontal->setFocusPolicy(Qt::NoFocus);
  viewport()->setMouseTracking(true);  // for the pointer over column borders
  // The wheel and the middle button over the bars (eventFilter).
  vertical->installEventFilter(this);
  horizontal->installEventFilter(this);
  connect(vertical, &QAbstractSlider::actionTriggered, this,
          [this](int action) { VerticalAction(action); });
  connect(vertical, &QAbstractSlider::sliderReleased, this, [this] { VerticalThumbReleased(); });
  connect(horizontal, &QAbstractSlider::actionTriggered, this,
          [this](int action) { HorizontalAction(action); });
  connect(horizontal, &QAbstractSlider::sliderReleased, this,
          [this] { HorizontalThumbReleased(); });
  // Every other change of a bar's value comes from outside the commands
  // (the bar's own "Scroll here"): it is taken as the thumb released
  // there, so that the bar and the grid never disagree. The grid's own
  // updates of the bars are silent, and a command sets the bar back before
  // the bar would announce a value of its own.
  connect(vertical, &QAbstractSlider::valueChanged, this, [this, vertical] {
    if (!vertical->isSliderDown()) VerticalThumbReleased();
  });
  connect(horizontal, &QAbstractSlider::valueChanged, this, [this, horizontal] {
    if (!horizontal->isSliderDown()) HorizontalThumbReleased();
  });
}

bool TwwDBGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != verticalScrollBar() && watched != horizontalScrollBar())
    return QAbstractScrollArea::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Wheel:
      // The wheel over either bar steps records, as over the cells.
      wheelEvent(static_cast<QWheelEvent*>(event));
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      // The middle button's jump to the pointer is no scroll command.
      return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
      return QAbstractScrollArea::eventFilter(watched, event);
  }
}

data::TDataSet* TwwDBGrid::ActiveCursor() const {
  return link_->Active() ? link_->DataSet() : nullptr;
}

bool TwwDBGrid::TakeFocus() {
  if (!hasFocus() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  return hasFocus();
}

// Runs while the bar's position is being changed: whatever the cursor did,
// the bar is set back from it before the bar takes its new value.
void TwwDBGrid::VerticalAction(int action) {
  if (action == QAbstractSlider::SliderMove) return;  // the thumb is followed on release
  data::TDataSet* cursor = ActiveCursor();
  if (cursor && TakeFocus()) {
    shell::RunGuarded([&] {
      switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
          cursor->Prior();
          break;
        case QAbstractSlider::SliderSingleStepAdd:
          cursor->Next();
          break;
        case QAbstractSlider::SliderPageStepSub:
          cursor->MoveBy(-std::max(1, fitRows_));
          break;
        case QAbstractSlider::SliderPageStepAdd:
          cursor->MoveBy(std::max(1, fitRows_));
          break;
        case QAbstractSlider::SliderToMinimum:
          cursor->First();
          break;
        case QAbstractSlider::SliderToMaximum:
          cursor->Last();
          break;
        default:
          break;
      }
    });
  }
  UpdateVerticalBar();
}

void TwwDBGrid::VerticalThumbReleased() {
  data::TDataSet* cursor = ActiveCursor();
  const int position = verticalScrollBar()->sliderPosition();
  if (cursor && TakeFocus()) {
    shell::RunGuarded([&] {
      auto* table = dynamic_cast<data::TTable*>(cursor);
      if (table && table->IsSequenced()) {
        if (position <= 0) {
          cursor->First();
        } else if (position >= kNumberedRange) {
          cursor->Last();
        } else {
          // The record is read directly by its number; the cursor then
          // fills its window around it, so it stands in the middle row.
          const long count = table->RecordCount();
          if (count > 0) table->SetRecNo(count * position / kNumberedRange + 1);
        }
        return;
      }
      switch (position) {
        case 0:
          cursor->First();
          break;
        case 1:
          cursor->MoveBy(-std::max(1, fitRows_));
          break;
        case 3:
          cursor->MoveBy(std::max(1, fitRows_));
          break;
        case kPositionRange:
          cursor->Last();
          break;
        default:
          break;
      }
    });
  }
  UpdateVerticalBar();
}

void TwwDBGrid::UpdateVerticalBar() {
  const bool show = showVertScrollBar_ && hasWindow_ && link_->Active();
  const auto policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (verticalScrollBarPolicy() != policy) {
    setVerticalScrollBarPolicy(policy);
    LayoutChanged();  // The client area changed width.
  }
  if (!show) return;
  data::TDataSet* cursor = link_->DataSet();
  auto* table = dynamic_cast<data::TTable*>(cursor);
  int range = kPositionRange;
  int position = 2;
  if (table && table->IsSequenced()) {
    range = kNumberedRange;
    if (!cursor->Bof() && !cursor->Eof()) {
      const long count = std::max(2L, table->RecordCount());
      position = int((table->RecNo() - 1) * kNumberedRange / (count - 1));
    }
  }
  if (cursor->Bof())
    position = 0;
  else if (cursor->Eof())
    position = range;
  QScrollBar* bar = verticalScrollBar();
  const QSignalBlocker quiet(bar);
  bar->setRange(0, range);
  bar->setSliderPosition(position);
  bar->setValue(position);
}

// --- horizontal ----------------------------------------------------------------

void TwwDBGrid::HorizontalAction(int action) {
  if (action == QAbstractSlider::SliderMove) return;
  if (TakeFocus()) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub:
        SetLeftCol(leftCol_ - 1);
        break;
      case QAbstractSlider::SliderSingleStepAdd:
        SetLeftCol(leftCol_ + 1);
        break;
      case QAbstractSlider::SliderPageStepSub:
        SetLeftCol(leftCol_ - ColumnsFittingLeftOf(leftCol_));
        break;
      case QAbstractSlider::SliderPageStepAdd:
        SetLeftCol(leftCol_ + ColumnsInFullView());
        break;
      case QAbstractSlider::SliderToMinimum:
        SetLeftCol(1);
        break;
      case QAbstractSlider::SliderToMaximum:
        SetLeftCol(LastPossibleLeftCol());
        break;
      default:
        break;
    }
  }
  UpdateHorizontalBar();
}

void TwwDBGrid::HorizontalThumbReleased() {
  const int position = horizontalScrollBar()->sliderPosition();
  if (TakeFocus()) SetLeftCol(1 + position * (LastPossibleLeftCol() - 1) / kHorizontalRange);
  UpdateHorizontalBar();
}

void TwwDBGrid::UpdateHorizontalBar() {
  const bool show = showHorzScrollBar_ && hasWindow_ && !AllColumnsFit();
  setHorizontalScrollBarPolicy(show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const int last = LastPossibleLeftCol();
  leftCol_ = std::clamp(leftCol_, 1, std::max(1, last));
  QScrollBar* bar = horizontalScrollBar();
  const QSignalBlocker quiet(bar);
  if (!show) {
    leftCol_ = 1;
    bar->setRange(0, 0);
    return;
  }
  bar->setRange(0, kHorizontalRange);
  const int position =
      last > 1 ? int(std::lround(double(leftCol_ - 1) * kHorizontalRange / (last - 1))) : 0;
  bar->setSliderPosition(position);
  bar->setValue(position);
}

void TwwDBGrid::SetLeftCol(int col) {
  col = std::clamp(col, 1, std::max(1, LastPossibleLeftCol()));
  if (col == leftCol_) return;
  HideEditor();
  leftCol_ = col;
  UpdateHorizontalBar();
  viewport()->update();
}

int TwwDBGrid::ColumnsInFullView() const {
  const int width = ClientSize().width();
  int count = 0;
  for (int col = leftCol_; col < ColCount(); ++col) {
    if (ColumnX(col) + ColWidth(col) > width) break;
    ++count;
  }
  return std::max(1, count);
}

int TwwDBGrid::ColumnsFittingLeftOf(int col) const {
  int room = ClientSize().width() - (kIndicatorWidth + 1);
  int count = 0;
  for (int c = col - 1; c >= 1; --c) {
    room -= ColWidth(c) + 1;
    if (room < -1) break;
    ++count;
  }
  return std::max(1, count);
}

// A column wider than the client area is shown from its left edge.
void TwwDBGrid::MakeColumnVisible(int col) {
  if (col < leftCol_) {
    SetLeftCol(col);
    return;
  }
  int left = leftCol_;
  const int width = ClientSize().width();
  while (left < col) {
    int right = kIndicatorWidth + 1;
    for (int c = left; c <= col; ++c) right += ColWidth(c) + 1;
    if (right - 1 <= width) break;
    ++left;
  }
  SetLeftCol(left);
}

void TwwDBGrid::SetCurrentColumn(int col) {
  col = std::clamp(col, 1, std::max(1, ColCount() - 1));
  if (col != col_) {
    HideEditor();
    viewport()->update(CellRect(col_, row_));
    col_ = col;
  }
  MakeColumnVisible(col_);
  viewport()->update(CellRect(col_, row_));
  AnnounceCurrentCell(false);
}

}  // namespace pellory::ui
