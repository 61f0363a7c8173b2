#include "pellory/programs/windows.h"

#include <memory>

#include "pellory/shell/window_factories.h"
#include "pellory/ui/fonts/fonts_window_description.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/main/main_window_description.h"
#include "pellory/ui/main/tform2.h"

namespace pellory::app {

void RegisterWindows() {
  shell::WindowFactories::Register(QStringLiteral("TForm2"),
                                   [] { return std::make_unique<ui::TForm2>(); });
  ui::RegisterMainWindow();
  shell::WindowFactories::Register(QStringLiteral("TForm1"),
                                   [] { return std::make_unique<ui::TForm1>(); });
  ui::RegisterFontsWindow();
}

}  // namespace pellory::app
