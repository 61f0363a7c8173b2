// What a stored window asks of the object that runs the program (the
// application object, which owns the windows): the error display for its
// handlers, the main window and the quit request, the release of a window,
// the modal loops a quit must end, and help on a topic. Windows reach
// their host only through this interface, never the other way round.
#pragma once

#include <functional>

class QEventLoop;

namespace pellory::shell {

class StoredWindow;

class WindowHost {
 public:
  // The host of the process, or null: windows then run on their own.
  static WindowHost* Current();

  // Runs `handler`; an error it raises goes to the error display.
  virtual void Guard(const std::function<void()>& handler) = 0;
  virtual StoredWindow* MainForm() const = 0;
  virtual bool Terminated() const = 0;
  // Posts the quit request; nothing can veto it.
  virtual void Terminate() = 0;
  // Destroys `window` once the event loop next takes the release.
  virtual void PostRelease(StoredWindow* window) = 0;
  // The modal loops that a quit request must end.
  virtual void EnterLoop(QEventLoop* loop) = 0;
  virtual void LeaveLoop(QEventLoop* loop) = 0;
  // Help on the topic `id`.
  virtual void ContextHelp(int id) = 0;

 protected:
  virtual ~WindowHost() = default;
  // Makes `host` the host of the process; null for none.
  static void SetCurrent(WindowHost* host);
};

// Shorthand for the guard of the host; without one the handler runs
// unguarded.
void RunGuarded(const std::function<void()>& handler);

}  // namespace pellory::shell
