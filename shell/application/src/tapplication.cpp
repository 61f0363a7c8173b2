#include "pellory/shell/tapplication.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>

#include "pellory/shell/window_factories.h"

namespace pellory::shell {

namespace {

// The title is kept as the text of a hidden top-level window.
constexpr int kMaxTitleLength = 255;

const QEvent::Type kQuitRequest = QEvent::Type(QEvent::registerEventType());
const QEvent::Type kReleaseRequest = QEvent::Type(QEvent::registerEventType());

class ReleaseEvent : public QEvent {
 public:
  explicit ReleaseEvent(StoredWindow* w) : QEvent(kReleaseRequest), window(w) {}
  QPointer<StoredWindow> window;
};

}  // namespace

TApplication::TApplication(QObject* parent)
    : QObject(parent), hints_(), presenter_(std::make_unique<MessageBoxPresenter>()) {
  SetCurrent(this);
  HintController::InstallTimings();
  // Only closing the main window ends the program: an error box dismissed
  // before the main window is shown must not.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  // A quit from outside (the session ending) ends the loops like ours.
  if (qApp) qApp->installEventFilter(this);
  InstallHelpEngine();
}

TApplication::~TApplication() {
  Shutdown();
  QuitHelp();
  if (Current() == this) SetCurrent(nullptr);
}

TApplication* TApplication::Instance() {
  return dynamic_cast<TApplication*>(Current());
}

void TApplication::SetTitle(const QString& title) {
  title_ = title.left(kMaxTitleLength);
}

std::vector<StoredWindow*> TApplication::OwnedWindows() const {
  std::vector<StoredWindow*> windows;
  for (const auto& w : owned_)
    if (w) windows.push_back(w);
  return windows;
}

StoredWindow* TApplication::Adopt(std::unique_ptr<StoredWindow> window) {
  window->Construct();
  StoredWindow* raw = window.release();
  owned_.emplace_back(raw);
  if (!mainForm_) {
    raw->winId();  // The main window gets its native window at once.
    mainForm_ = raw;
  }
  return raw;
}

int TApplication::RunModalWindow(const QString& className) {
  StoredWindow* window = nullptr;
  try {
    window = Adopt(WindowFactories::Make(className));
  } catch (...) {
    HandleException(std::current_exception());
    return 0;
  }
  int result = 0;
  try {
    result = window->ShowModal();
  } catch (...) {
    window->Release();
    throw;
  }
  window->Release();
  return result;
}

void TApplication::Run() {
  if (!mainForm_ || terminated_) return;
  mainForm_->show();
  // Shown windows are activated: without a window manager nobody else would.
  mainForm_->activateWindow();
  // The application's own loop, so that a quit from outside reaches it.
  if (!terminated_) QCoreApplication::exec();
}

void TApplication::Terminate() {
  QCoreApplication::postEvent(this, new QEvent(kQuitRequest));
}

void TApplication::TakeQuitRequest() {
  terminated_ = true;
  for (QEventLoop* loop : loops_) loop->quit();
  QCoreApplication::exit(0);
}

void TApplication::EnterLoop(QEventLoop* loop) {
  loops_.push_back(loop);
}

void TApplication::LeaveLoop(QEventLoop* loop) {
  std::erase(loops_, loop);
}

void TApplication::PostRelease(StoredWindow* window) {
  QCoreApplication::postEvent(this, new ReleaseEvent(window));
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
  if (watched == qApp && event->type() == QEvent::Quit) TakeQuitRequest();
  return QObject::eventFilter(watched, event);
}

bool TApplication::event(QEvent* event) {
  if (event->type() == kQuitRequest) {
    TakeQuitRequest();
    return true;
  }
  if (event->type() == kReleaseRequest) {
    if (auto* window = static_cast<ReleaseEvent*>(event)->window.data()) {
      if (window == mainForm_) mainForm_ = nullptr;
      delete window;
    }
    return true;
  }
  return QObject::event(event);
}

void TApplication::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  SetShowHint(false);
  // Creation order is ownership order; deleting may not touch the list.
  auto windows = std::move(owned_);
  owned_.clear();
  for (auto& window : windows) delete window.data();
  mainForm_ = nullptr;
}

}  // namespace pellory::shell
