// The picture grid's keys: record moves, column moves with Tab wrapping to
// the next or previous record, and the in-place editor over text cells.
#include <QKeyEvent>
#include <algorithm>

#include "grid_data_link.h"
#include "grid_settings.h"
#include "inplace_edit.h"
#include "pellory/data/dataset.h"
#include "pellory/data/field.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

void TwwDBGrid::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  shell::RunGuarded([&] { handled = HandleKey(event->key(), event->modifiers(), event->text()); });
  // Keys the grid does not take, F1 among them, go on to the window.
  event->setAccepted(handled);
}

// Tab and Shift+Tab move between columns instead of between controls.
bool TwwDBGrid::focusNextPrevChild(bool next) {
  if (link_->Active()) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

bool TwwDBGrid::HandleKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  data::TDataSet* cursor = ActiveCursor();
  if (!cursor) return false;
  const bool ctrl = modifiers & Qt::ControlModifier;
  const bool alt = modifiers & Qt::AltModifier;
  const int page = std::max(1, fitRows_);
  const bool oneField = cursor->Fields().size() == 1;
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
      if (ctrl)
        cursor->MoveBy(1 - row_);  // to the record in the first data row
      else
        cursor->MoveBy(key == Qt::Key_Up ? -1 : -page);
      return true;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      // Past the last record nothing happens: appending a record needs a
      // cursor that can be modified.
      if (ctrl)
        cursor->MoveBy(rowCount_ - 1 - row_);  // to the record in the last data row
      else
        cursor->MoveBy(key == Qt::Key_Down ? 1 : page);
      return true;
    case Qt::Key_Left:
      SetCurrentColumn(ctrl ? 1 : col_ - 1);
      return true;
    case Qt::Key_Right:
      SetCurrentColumn(ctrl ? ColCount() - 1 : col_ + 1);
      return true;
    case Qt::Key_Home:
      if (ctrl || oneField)
        cursor->First();
      else
        SetCurrentColumn(1);
      return true;
    case Qt::Key_End:
      if (ctrl || oneField)
        cursor->Last();
      else
        SetCurrentColumn(ColCount() - 1);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (!alt) TabTo(key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
      return true;
    case Qt::Key_Delete:
      // Deleting would need a cursor that can be modified; Ctrl+Delete is
      // refused silently.
      return ctrl;
    case Qt::Key_Insert:
      if (modifiers != Qt::NoModifier) return false;
      cursor->Insert();  // a read-only cursor refuses with an error
      return true;
    case Qt::Key_F2:
      ShowEditor();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ToggleEditor();
      return true;
    case Qt::Key_Escape:
      HideEditor();
      return true;
    default:
      break;
  }
  // A typed character opens the editor over a text cell; the editor then
  // refuses the character, as it refuses every change on this cursor.
  if (!text.isEmpty() && text.at(0).isPrint() && !ctrl && !alt) {
    ShowEditor();
    return true;
  }
  return false;
}

int TwwDBGrid::NextTabStop(int from, int step) const {
  for (int col = from + step; col >= 1 && col < ColCount(); col += step)
    if (tabStops_.at(std::size_t(col))) return col;
  return -1;
}

void TwwDBGrid::TabTo(bool forward) {
  data::TDataSet* cursor = ActiveCursor();
  const int step = forward ? 1 : -1;
  const int next = NextTabStop(col_, step);
  if (next > 0) {
    SetCurrentColumn(next);
    return;
  }
  // Past the last column into the next record's first, before the first
  // into the previous record's last; at the table's edge the record stays.
  const int wrapped = NextTabStop(forward ? 0 : ColCount(), step);
  if (wrapped < 0) return;
  cursor->MoveBy(step);
  SetCurrentColumn(wrapped);
}

bool TwwDBGrid::IsTextCell(int col) const {
  const data::TDataSet* cursor = ActiveCursor();
  const data::TField* field = ColumnField(col);
  if (!cursor || cursor->IsEmpty() || !field || field->IsBlob()) return false;
  const std::string kind = grid::LookUpControlType(ControlTypeList(), field->FieldName()).kind;
  return kind != "Bitmap" && kind != "CheckBox";
}

void TwwDBGrid::ShowEditor() {
  if (editor_) {
    editor_->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (!IsTextCell(col_)) return;
  MakeColumnVisible(col_);
  const QRect cell = CellRect(col_, row_);
  if (cell.isEmpty()) return;
  auto* editor = new TwwInplaceEdit(*this, viewport());
  editor->setFont(font());
  // The cell's own colours: the editor takes nothing, but is no disabled box.
  QPalette palette = editor->palette();
  palette.setColor(QPalette::Base, color_);
  palette.setColor(QPalette::Text, Font().color);
  editor->setPalette(palette);
  editor->setText(QString::fromStdString(ColumnField(col_)->AsString()));
  editor->setCursorPosition(0);
  editor->setGeometry(cell.intersected(viewport()->rect()));
  editor_ = editor;
  editor->show();
  editor->selectAll();
  editor->setFocus(Qt::OtherFocusReason);
}

void TwwDBGrid::HideEditor() {
  if (!editor_) return;
  TwwInplaceEdit* editor = editor_;
  editor_ = nullptr;
  if (editor->hasFocus()) setFocus(Qt::OtherFocusReason);
  editor->hide();
  editor->deleteLater();
  viewport()->update(CellRect(col_, row_));
}

TwwInplaceEdit* TwwDBGrid::InplaceEditor() const {
  return editor_;
}

void TwwDBGrid::ToggleEditor() {
  if (editor_)
    HideEditor();
  else
    ShowEditor();
}

}  // namespace pellory::ui
