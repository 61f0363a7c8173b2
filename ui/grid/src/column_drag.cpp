#include "column_drag.h"

#include <QPainter>
#include <cstdlib>

#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui::grid {

ColumnDrag::ColumnDrag(TwwDBGrid& grid, Kind kind, int col, QPoint press)
    : grid_(grid), kind_(kind), col_(col), press_(press), pointer_(press) {
  if (kind_ == Kind::Border) {
    const int border = grid_.ColumnX(col_) + grid_.ColWidth(col_);
    grabOffset_ = press.x() - border;
    grid_.borderLineX_ = border;
  }
  timer_.setInterval(kScrollIntervalMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] { AutoScroll(); });
}

ColumnDrag::~ColumnDrag() {
  if (image_) image_->deleteLater();
}

void ColumnDrag::MoveTo(QPoint pointer) {
  const int dx = pointer.x() - pointer_.x();
  if (dx != 0) lastDirection_ = dx > 0 ? 1 : -1;
  pointer_ = pointer;
  if (kind_ == Kind::Border) {
    QWidget* area = grid_.viewport();
    const auto line = [area](int x) { return QRect(x, 0, 1, area->height()); };
    area->update(line(grid_.borderLineX_));
    grid_.borderLineX_ = pointer.x() - grabOffset_;
    area->update(line(grid_.borderLineX_));
    return;
  }
  if (!Moving()) {
    const QPoint travelled = pointer - press_;
    if (std::abs(travelled.x()) <= 2 && std::abs(travelled.y()) < 3) return;
    StartMoving();
  }
  PlaceImage();
}

// The title cell as it looks now, with a black line along its right and
// bottom edges.
void ColumnDrag::StartMoving() {
  const QRect cell = grid_.CellRect(col_, 0);
  grabOffset_ = press_.x() - cell.left();
  QPixmap picture = grid_.viewport()->grab(cell.adjusted(0, 0, 1, 1));
  {
    QPainter p(&picture);
    p.fillRect(QRect(picture.width() - 1, 0, 1, picture.height()), Qt::black);
    p.fillRect(QRect(0, picture.height() - 1, picture.width(), 1), Qt::black);
  }
  image_ = new QLabel(&grid_);
  image_->setPixmap(picture);
  image_->resize(picture.size());
  image_->setAttribute(Qt::WA_TransparentForMouseEvents);
  image_->show();
  image_->raise();
  timer_.start();
}

void ColumnDrag::PlaceImage() {
  if (!image_) return;
  const QPoint origin = grid_.viewport()->mapTo(&grid_, QPoint(0, 0));
  image_->move(origin.x() + pointer_.x() - grabOffset_, TwwDBGrid::DragVertOffset);
}

// Scrolls one column toward where the pointer last moved while the image
// reaches past the grid's right edge or left of the first shown column.
void ColumnDrag::AutoScroll() {
  if (!image_) return;
  const int left = pointer_.x() - grabOffset_;
  const int right = left + image_->width();
  const int before = grid_.LeftCol();
  if (right > grid_.ClientSize().width() && lastDirection_ > 0)
    grid_.SetLeftCol(before + 1);
  else if (left < grid_.ColumnX(grid_.LeftCol()) && lastDirection_ < 0)
    grid_.SetLeftCol(before - 1);
}

void ColumnDrag::Release(QPoint pointer) {
  MoveTo(pointer);
  timer_.stop();
  if (kind_ == Kind::Border) {
    const int width = grid_.borderLineX_ - grid_.ColumnX(col_);
    grid_.borderLineX_ = -1;
    grid_.viewport()->update();
    if (width > 1) grid_.ResizeColumn(col_, width);
    return;
  }
  if (!Moving()) return;  // a press and release without travel does nothing
  image_->hide();
  const int target = grid_.DropColumnAt(pointer.x());
  if (target == col_)
    grid_.viewport()->update(grid_.CellRect(col_, 0));
  else
    grid_.MoveColumn(col_, target);
}

}  // namespace pellory::ui::grid
