// The program from start to exit: application object, main window, main
// loop, shutdown.
#pragma once

#include <memory>

#include "pellory/shell/error_presenter.h"

namespace pellory::app {

// Runs the program in the existing QApplication and answers its exit code:
// 0 after a normal end, 1 when an error escaped start-up (shown by the
// last-chance handler). Without `presenter`, errors show in message boxes.
int RunProgram(std::unique_ptr<shell::ErrorPresenter> presenter = {});

}  // namespace pellory::app
