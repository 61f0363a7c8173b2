#include "inplace_edit.h"

#include <QKeyEvent>

#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

namespace {

// Keys the grid takes even while the editor is open; the rest (Left,
// Right, Home, End, selection and copying) move inside the editor.
bool GridKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
      return true;
    default:
      return false;
  }
}

}  // namespace

TwwInplaceEdit::TwwInplaceEdit(TwwDBGrid& grid, QWidget* parent) : QLineEdit(parent), grid_(grid) {
  setFrame(false);
  setReadOnly(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setContextMenuPolicy(Qt::NoContextMenu);
}

void TwwInplaceEdit::keyPressEvent(QKeyEvent* event) {
  // Ctrl+Insert copies, as in every edit box; only Insert itself is the
  // grid's.
  if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ControlModifier) {
    copy();
    return;
  }
  if (!GridKey(event->key())) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  bool handled = false;
  shell::RunGuarded([&] { handled = grid_.HandleKey(event->key(), event->modifiers(), {}); });
  event->setAccepted(handled);
}

// Tab belongs to the grid, not to focus navigation.
bool TwwInplaceEdit::focusNextPrevChild(bool) {
  return false;
}

}  // namespace pellory::ui
