// Draws one font list item: its rectangle filled in the list's colour (the
// highlight colour when selected), the name written in its own face from
// one pixel in, and the focus rectangle around the current item.
#pragma once

#include <QStyledItemDelegate>

namespace pellory::ui {

class FontItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The dotted rectangle that inverts what lies under it, as focus is shown
// on list items.
void DrawFocusRectangle(QPainter* painter, const QRect& rect);

}  // namespace pellory::ui
