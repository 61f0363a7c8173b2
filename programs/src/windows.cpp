#include "pellory/programs/windows.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <memory>

#include "pellory/shell/window_factories.h"
#include "pellory/ui/about/about_box_description.h"
#include "pellory/ui/about/tabout_box.h"
#include "pellory/ui/controls/resource_bitmap.h"
#include "pellory/ui/fonts/fonts_window_description.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/grid/grid_window_description.h"
#include "pellory/ui/grid/tform3.h"
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
  shell::WindowFactories::Register(QStringLiteral("TForm3"),
                                   [] { return std::make_unique<ui::TForm3>(); });
  ui::RegisterGridWindow();
  shell::WindowFactories::Register(QStringLiteral("TAboutBox"),
                                   [] { return std::make_unique<ui::TAboutBox>(); });
  ui::RegisterAboutBox();
  // Every window shows the program's icon.
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ui::ProgramIcon())));
}

}  // namespace pellory::app
