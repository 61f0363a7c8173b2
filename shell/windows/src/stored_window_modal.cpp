// The modal run of a stored window: a nested event loop with every other
// top-level window of the program disabled.
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QPointer>
#include <optional>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/window_host.h"

namespace pellory::shell {

namespace {

// The screen cursor is the override cursor; none means the default arrow.
class ScreenCursorKeeper {
 public:
  ScreenCursorKeeper() {
    if (const QCursor* c = QGuiApplication::overrideCursor()) {
      saved_ = c->shape();
      QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
  }
  ~ScreenCursorKeeper() {
    const QCursor* now = QGuiApplication::overrideCursor();
    const bool unchanged = saved_ ? (now && now->shape() == Qt::ArrowCursor) : !now;
    if (unchanged) {
      if (saved_) QGuiApplication::restoreOverrideCursor();  // Back to the saved one.
      return;
    }
    // Changed during the run: the default arrow.
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  }

 private:
  std::optional<Qt::CursorShape> saved_;
};

std::vector<QPointer<QWidget>> DisableOtherWindows(QWidget* self) {
  std::vector<QPointer<QWidget>> disabled;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w == self || !w->isVisible() || !w->isEnabled()) continue;
    w->setEnabled(false);
    disabled.emplace_back(w);
  }
  return disabled;
}

}  // namespace

int StoredWindow::ShowModal() {
  if (isVisible() || !isEnabled() || modal_)
    throw WindowStateError(QStringLiteral("Cannot make a visible window modal"));
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  modal_ = true;
  QPointer<QWidget> previousActive = QApplication::activeWindow();
  int result = 0;
  {
    ScreenCursorKeeper cursor;
    std::vector<QPointer<QWidget>> disabled = DisableOtherWindows(this);
    show();
    raise();
    activateWindow();
    modalResult_ = 0;
    result = RunModalLoop();
    const bool stillActive = QApplication::activeWindow() == this;
    hide();
    for (auto& w : disabled)
      if (w) w->setEnabled(true);
    if (stillActive && previousActive) previousActive->activateWindow();
  }
  modal_ = false;
  return result;
}

int StoredWindow::RunModalLoop() {
  WindowHost* host = WindowHost::Current();
  for (;;) {
    if (host && host->Terminated()) {
      modalResult_ = 2;
      break;
    }
    if (modalResult_ == 0) {
      QEventLoop loop;
      modalLoop_ = &loop;
      if (host) host->EnterLoop(&loop);
      loop.exec();
      if (host) host->LeaveLoop(&loop);
      modalLoop_ = nullptr;
      continue;
    }
    // The close check: the handlers may keep the window open or free it.
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    CloseAction action = canClose ? CloseAction::Hide : CloseAction::None;
    if (canClose && OnClose) OnClose(action);
    if (action == CloseAction::None) {
      modalResult_ = 0;
      continue;
    }
    if (action == CloseAction::Free) Release();
    break;
  }
  return modalResult_;
}

}  // namespace pellory::shell
