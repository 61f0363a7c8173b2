// Pellory Fonts: looks through a catalogue of fonts.
#include <QGuiApplication>

#include "pellory/programs/startup.h"
#include "pellory/shell/font_preload.h"
#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/screen_scaling.h"

int main(int argc, char** argv) {
  pellory::shell::PrepareScreenScaling();
  const pellory::shell::FontPreload fonts;
  pellory::shell::GuardedQApplication qtApplication(argc, argv);
  // The name of the installed desktop entry (packaging/), by which the
  // desktop ties the program's windows to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.pellory.fonts"));
  return pellory::app::RunProgram();
}
