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
  const pellory::app::CommandLine commandLine = pellory::app::ReadCommandLine(argc, argv);
  pellory::app::UseDisplayOption(commandLine);
  if (const std::optional<int> answered = pellory::app::AnswerCommandLine(commandLine))
    return *answered;
  // The toolkit's options as it reads them, whatever form they were given in.
  pellory::app::ToolkitArguments toolkitArguments(argv[0], commandLine);
  pellory::shell::PrepareScreenScaling();
  const pellory::shell::FontPreload fonts;
  std::optional<pellory::shell::GuardedQApplication> qtApplication;
  {
    const pellory::app::DisplayFailureWatch watch;
    qtApplication.emplace(toolkitArguments.Count(), toolkitArguments.Vector());
  }
  // The name of the installed desktop entry (packaging/), by which the
  // desktop ties the program's windows to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.pellory.fonts"));
  return pellory::app::RunProgram();
}
