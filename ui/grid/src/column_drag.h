// A drag begun in the picture grid's title row: either a column border
// being moved to a new width, or a column title being carried to a new
// place, its image following the pointer and the grid scrolling a column
// at a time while the image reaches past either side.
#pragma once

#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <QTimer>

namespace pellory::ui {
class TwwDBGrid;
}  // namespace pellory::ui

namespace pellory::ui::grid {

class ColumnDrag {
 public:
  enum class Kind { Border, Move };
  static constexpr int kScrollIntervalMs = 100;

  ColumnDrag(TwwDBGrid& grid, Kind kind, int col, QPoint press);
  ~ColumnDrag();

  Kind kind() const { return kind_; }
  int col() const { return col_; }
  // Whether a title has travelled far enough to be moving.
  bool Moving() const { return image_ != nullptr; }

  void MoveTo(QPoint pointer);
  // Ends the drag where the pointer was released.
  void Release(QPoint pointer);

 private:
  void StartMoving();
  void PlaceImage();
  void AutoScroll();

  TwwDBGrid& grid_;
  Kind kind_;
  int col_;
  QPoint press_;
  QPoint pointer_;
  int grabOffset_ = 0;  // pointer to the border, or to the title's left edge
  int lastDirection_ = 0;
  QPointer<QLabel> image_;
  QTimer timer_;
};

}  // namespace pellory::ui::grid
