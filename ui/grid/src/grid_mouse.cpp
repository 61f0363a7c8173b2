// The picture grid's mouse: presses on cells and indicators move the
// cursor by rows, the title row resizes and moves columns, and the wheel
// steps a record for every full notch, keeping what is left of a partial
// turn for the next one.
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

#include "column_drag.h"
#include "grid_data_link.h"
#include "grid_settings.h"
#include "pellory/data/dataset.h"
#include "pellory/data/field.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

namespace {

// A border can be grabbed from 3 pixels left to 4 pixels right of its line.
constexpr int kBorderZoneLeft = 3;
constexpr int kBorderZoneRight = 4;
// One notch of a standard wheel.
constexpr int kWheelDelta = 120;

}  // namespace

TwwDBGrid::Hit TwwDBGrid::HitAt(QPoint p) const {
  Hit hit;
  if (p.y() <= titleHeight_) {
    hit.row = 0;
  } else {
    for (int row = 1; row < rowCount_; ++row)
      if (p.y() <= RowY(row) + rowHeight_) {
        hit.row = row;
        break;
      }
  }
  if (p.x() <= kIndicatorWidth) {
    hit.col = 0;
  } else {
    for (int col = leftCol_; col < ColCount(); ++col)
      if (p.x() <= ColumnX(col) + ColWidth(col)) {
        hit.col = col;
        break;
      }
  }
  return hit;
}

int TwwDBGrid::BorderAt(QPoint p) const {
  if (p.y() > titleHeight_) return -1;
  for (int col = leftCol_; col < ColCount(); ++col) {
    const int line = ColumnX(col) + ColWidth(col);
    if (line >= ClientSize().width()) break;
    if (p.x() >= line - kBorderZoneLeft && p.x() <= line + kBorderZoneRight) return col;
  }
  return -1;
}

void TwwDBGrid::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (!TakeFocus() || !link_->Active()) return;
  const QPoint p = event->position().toPoint();
  const Hit hit = HitAt(p);
  if (hit.row == 0) {
    const int border = BorderAt(p);
    if (border >= 1) {
      drag_ = std::make_unique<grid::ColumnDrag>(*this, grid::ColumnDrag::Kind::Border, border, p);
    } else if (event->button() == Qt::LeftButton && hit.col >= 1 && ColumnField(hit.col)) {
      drag_ = std::make_unique<grid::ColumnDrag>(*this, grid::ColumnDrag::Kind::Move, hit.col, p);
    }
    return;
  }
  shell::RunGuarded([&] { PressCell(hit); });
}

void TwwDBGrid::PressCell(const Hit& hit) {
  data::TDataSet* cursor = ActiveCursor();
  if (!cursor || hit.row < 1) return;
  if (hit.col >= 1) {
    if (hit.col == col_ && hit.row == row_ && IsTextCell(col_)) {
      ShowEditor();
      return;
    }
    SetCurrentColumn(hit.col);
  }
  // The indicator column, and the area right of the last column, keep the
  // current column.
  cursor->MoveBy(hit.row - row_);
}

void TwwDBGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (drag_) {
    drag_->MoveTo(p);
    return;
  }
  // Over a border that can be dragged, the pointer says so.
  if (link_->Active() && BorderAt(p) >= 1)
    viewport()->setCursor(Qt::SplitHCursor);
  else
    viewport()->unsetCursor();
}

void TwwDBGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (!drag_) return;
  std::unique_ptr<grid::ColumnDrag> drag = std::move(drag_);
  shell::RunGuarded([&] { drag->Release(event->position().toPoint()); });
}

void TwwDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (!TakeFocus()) return;
  if (OnDblClick) shell::RunGuarded([this] { OnDblClick(*this); });
}

void TwwDBGrid::wheelEvent(QWheelEvent* event) {
  event->accept();
  data::TDataSet* cursor = ActiveCursor();
  if (!cursor) return;
  // Turning away from the user (a positive delta) steps back.
  wheelRemainder_ += event->angleDelta().y();
  const int notches = wheelRemainder_ / kWheelDelta;
  wheelRemainder_ -= notches * kWheelDelta;
  if (notches != 0) shell::RunGuarded([&] { cursor->MoveBy(-notches); });
}

// --- after a drag ---------------------------------------------------------------

// Every data column's width in characters is taken from its pixels, the
// dragged one's new width included; the layout then snaps each to whole
// digits.
void TwwDBGrid::ResizeColumn(int col, int width) {
  data::TDataSet* cursor = ActiveCursor();
  if (!cursor) return;
  const int digit = DigitWidth();
  std::vector<std::pair<data::TField*, int>> widths;
  for (int c = 1; c < ColCount(); ++c)
    if (data::TField* field = ColumnField(c))
      widths.emplace_back(field, c == col ? width : ColWidth(c));
  cursor->SuspendNotifications();
  for (const auto& [field, pixels] : widths)
    // A negative width would mean "the field's own width", not a narrow one.
    field->SetDisplayWidth(std::max(0, grid::CharactersForPixels(pixels, digit)));
  cursor->ResumeNotifications();
}

// The field under the pointer gives up its place in the cursor's field
// list to the moved one.
void TwwDBGrid::MoveColumn(int from, int to) {
  data::TDataSet* cursor = ActiveCursor();
  data::TField* moved = ColumnField(from);
  data::TField* target = ColumnField(to);
  if (!cursor || !moved || !target) return;
  moved->SetIndex(cursor->IndexOfField(*target));
}

// The column under x; right of a fully shown last column the last one,
// anywhere else outside the data columns the first.
int TwwDBGrid::DropColumnAt(int x) const {
  const int last = ColCount() - 1;
  const int width = ClientSize().width();
  // Past the grid's right edge the pointer is over no column, even where a
  // partly shown column goes on out of sight.
  if (x > kIndicatorWidth && x < width)
    for (int col = leftCol_; col <= last; ++col)
      if (x <= ColumnX(col) + ColWidth(col)) return col;
  const int lastRight = ColumnX(last) + ColWidth(last);
  if (x > lastRight && lastRight <= width) return last;
  return 1;
}

}  // namespace pellory::ui
