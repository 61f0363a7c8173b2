#include "font_item_delegate.h"

#include <QPainter>

#include "font_list_model.h"
#include "pellory/shell/system_colors.h"

namespace pellory::ui {

void FontItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  using shell::SystemColor;
  const bool selected = option.state & QStyle::State_Selected;
  const QColor back =
      selected ? shell::ColorOf(SystemColor::Highlight) : option.palette.color(QPalette::Base);
  const QColor text =
      selected ? shell::ColorOf(SystemColor::HighlightText) : option.palette.color(QPalette::Text);
  const QString name = index.data(Qt::DisplayRole).toString();
  painter->save();
  painter->fillRect(option.rect, back);
  painter->setFont(ItemFace(name, option.font));
  painter->setPen(text);
  painter->drawText(option.rect.adjusted(1, 0, 0, 0),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, name);
  painter->restore();
  if (option.state & QStyle::State_HasFocus) DrawFocusRectangle(painter, option.rect);
}

QSize FontItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  return {option.rect.width(), index.data(Qt::SizeHintRole).toSize().height()};
}

void DrawFocusRectangle(QPainter* painter, const QRect& rect) {
  painter->save();
  painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen pen(Qt::white, 1, Qt::CustomDashLine);
  pen.setDashPattern({1, 1});
  painter->setPen(pen);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

}  // namespace pellory::ui
