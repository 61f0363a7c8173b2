#include "pellory/ui/controls/edge_box.h"

#include <QPainter>

namespace pellory::ui {

void PaintEdgeBox(QPainter& p, const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
  if (box.isEmpty()) return;
  p.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
  p.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
  p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
  p.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
}

}  // namespace pellory::ui
