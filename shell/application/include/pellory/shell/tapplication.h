// The application object: title, help file, hints, the main window and the
// windows it owns, the main loop, the quit request, the error display and
// the guard that sends every handler's error to it. It is the windows' host
// (window_host.h): they reach it only through that interface.
#pragma once

#include <qwindowdefs.h>

#include <QObject>
#include <QPointer>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "pellory/shell/error_presenter.h"
#include "pellory/shell/hint_controller.h"
#include "pellory/shell/message_dialog.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/window_host.h"

class QEventLoop;

namespace pellory::shell {

class TApplication : public QObject, public WindowHost {
  Q_OBJECT
 public:
  explicit TApplication(QObject* parent = nullptr);
  ~TApplication() override;

  // The one application object of the process, or null.
  static TApplication* Instance();

  QString Title() const { return title_; }
  void SetTitle(const QString& title);
  QString HelpFile() const { return helpFile_; }
  void SetHelpFile(const QString& name) { helpFile_ = name; }
  bool ShowHint() const { return hints_.Enabled(); }
  void SetShowHint(bool on) { hints_.SetEnabled(on); }
  int HintPause() const { return HintController::kHintPause; }
  int HintHidePause() const { return HintController::kHintHidePause; }

  StoredWindow* MainForm() const override { return mainForm_; }
  bool Terminated() const override { return terminated_; }

  // Creates and constructs a window owned by this object; the first one
  // becomes the main window. Construction errors propagate.
  template <class T>
  T* CreateForm() {
    return static_cast<T*>(Adopt(std::make_unique<T>()));
  }
  // Create, show modally, release: the pattern of every secondary window,
  // for the class registered in WindowFactories under `className`. A window
  // that cannot be made or constructed goes to the error display and no
  // window opens; answers its ModalResult, or 0 when none opened.
  int RunModalWindow(const QString& className);
  // The windows this object still owns, in creation order.
  std::vector<StoredWindow*> OwnedWindows() const;

  // Shows the main window and processes events until the quit request is
  // taken. Returns at once when there is no main window.
  void Run();
  // Posts the quit request; nothing can veto it.
  void Terminate() override;
  // Hides pop-ups, switches hints off and destroys the owned windows.
  void Shutdown();

  // Error display: shows `error` in a box captioned with the title.
  void ShowException(const std::exception& error);
  void HandleException(std::exception_ptr error);
  // The last-chance box for an error that escaped start-up: "Application
  // Error", task-modal, with the error's class, module and address.
  void ShowLastChance(const std::exception& error);
  // The standard message dialog of `kind` with `text` and one OK button,
  // shown through the same presenter as the error display; returns once
  // it has been closed.
  void ShowMessageDialog(const QString& text, MessageKind kind);
  // Runs `handler`; an error it raises goes to the error display.
  void Guard(const std::function<void()>& handler) override;
  // `handler` wrapped in the guard, for connecting to signals.
  std::function<void()> Guarded(std::function<void()> handler);

  void SetErrorPresenter(std::unique_ptr<ErrorPresenter> presenter);

  // Help goes through the help engine's one entry point: owner window, help
  // file name, command and data (the platform's engine unless replaced).
  using HelpEngine =
      std::function<void(WId owner, const QString& fileName, int command, quintptr data)>;
  void SetHelpEngine(HelpEngine engine) { helpEngine_ = std::move(engine); }
  // Calls the help engine with the main window as owner and the help file
  // name as stored; no window has a help file of its own.
  void HelpCommand(int command, quintptr data);
  // Help on the topic `id`: the context command.
  void ContextHelp(int id) override;

  // The release message and the modal loops that a quit request must end.
  void PostRelease(StoredWindow* window) override;
  void EnterLoop(QEventLoop* loop) override;
  void LeaveLoop(QEventLoop* loop) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Constructs `window` and takes ownership of it.
  StoredWindow* Adopt(std::unique_ptr<StoredWindow> window);
  void TakeQuitRequest();
  // The platform's help engine, whose notices show in the error display.
  void InstallHelpEngine();
  // Tells the help engine to quit; at the end, even if help was never used.
  void QuitHelp();

  QString title_;
  QString helpFile_;
  HintController hints_;
  QPointer<StoredWindow> mainForm_;
  std::vector<QPointer<StoredWindow>> owned_;
  std::vector<QEventLoop*> loops_;
  std::unique_ptr<ErrorPresenter> presenter_;
  HelpEngine helpEngine_;
  bool terminated_ = false;
  bool shutDown_ = false;
};

}  // namespace pellory::shell
