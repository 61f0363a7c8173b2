// Pellory Fonts: looks through a catalogue of fonts.
#include <QGuiApplication>
#include <optional>

#include "pellory/programs/command_line.h"
#include "pellory/programs/startup.h"
#include "pellory/shell/font_preload.h"
#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/screen_scaling.h"

int main(int argc, char** argv) {
  // Before the toolkit: --help, --version and a missing display need none.
  if (const std::optional<int> answered = pellory::app::AnswerCommandLine(argc, argv))
    return *answered;
  pellory::shell::PrepareScreenScaling();
  const pellory::shell::FontPreload fonts;
  std::optional<pellory::shell::GuardedQApplication> qtApplication;
  {
    const pellory::app::DisplayFailureWatch watch;
    qtApplication.emplace(argc, argv);
  }
  // The name of the installed desktop entry (packaging/), by which the
  // desktop ties the program's windows to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.pellory.fonts"));
  return pellory::app::RunProgram();
}
