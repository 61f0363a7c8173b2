// Running the whole program inside a test: the window of a class that is
// showing, and the program run with an action once its main window is up.
#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "pellory/programs/startup.h"
#include "pellory/ui/main/tform2.h"
#include "shell_test_support.h"

namespace programtest {

// The visible top-level window of class Window, or null.
template <class Window>
Window* Visible() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* w = dynamic_cast<Window*>(top); w && w->isVisible()) return w;
  return nullptr;
}

// Runs the program; `act` runs once its main window is up and must end it.
// The window is waited for without a nested loop, so that a dialog shown
// while it is built can finish first.
inline int RunProgramAnd(std::function<void(pellory::ui::TForm2*)> act,
                         const std::shared_ptr<std::vector<pellory::shell::ErrorBox>>& boxes) {
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (pellory::ui::TForm2* main = Visible<pellory::ui::TForm2>()) {
      poll.stop();
      act(main);
    }
  });
  poll.start(10);
  return pellory::app::RunProgram(std::make_unique<shelltest::RecordingPresenter>(boxes));
}

}  // namespace programtest
