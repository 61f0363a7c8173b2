// Help requests raised by F1 in a stored window: on the focused control
// when no shortcut and no control took the key, on the highlighted item
// while a menu is open.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "pellory/shell/help_requests.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/window_host.h"

namespace pellory::shell {

namespace {

bool IsHelpKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void AskForTopic(int id) {
  if (WindowHost* host = WindowHost::Current()) host->ContextHelp(id);
}

// Ends whatever the keyboard was doing in the menus: open menus close, and
// a menu bar highlighted from the keyboard lets go of the focus.
void LeaveMenus(QMenuBar* bar) {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  if (bar && (bar->activeAction() || bar->hasFocus())) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &escape);
  }
}

}  // namespace

void StoredWindow::keyPressEvent(QKeyEvent* event) {
  if (!IsHelpKey(event)) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  event->accept();
  if (event->isAutoRepeat()) return;  // One request for one press.
  const int id = ControlHelpContext(focusWidget() ? focusWidget() : this);
  if (id != 0) AskForTopic(id);
}

bool StoredWindow::eventFilter(QObject* watched, QEvent* event) {
  if (IsHelpKey(event) && (qobject_cast<QMenu*>(watched) || qobject_cast<QMenuBar*>(watched))) {
    // While a menu is open F1 is no shortcut: accepting the override keeps
    // it from one (the contents' F1 in the main window), so the key comes
    // here as a key press.
    event->accept();
    if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
      RequestMenuHelp(static_cast<QWidget*>(watched));
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void StoredWindow::WatchMenusForHelp() {
  if (QWidget* bar = menuWidget()) bar->installEventFilter(this);
  for (QMenu* menu : findChildren<QMenu*>()) menu->installEventFilter(this);
}

void StoredWindow::RequestMenuHelp(QWidget* menuWidget) {
  auto* menu = qobject_cast<QMenu*>(menuWidget);
  auto* bar = qobject_cast<QMenuBar*>(this->menuWidget());
  const QAction* highlighted =
      menu ? menu->activeAction() : static_cast<QMenuBar*>(menuWidget)->activeAction();
  const int id = MenuHelpContext(highlighted, menu);
  // The help viewer takes over, as when an item is chosen.
  LeaveMenus(bar);
  AskForTopic(id);
}

}  // namespace pellory::shell
