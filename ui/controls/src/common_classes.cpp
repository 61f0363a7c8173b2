#include "pellory/ui/controls/common_classes.h"

#include "pellory/shell/component_classes.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/controls/tmainmenu.h"

namespace pellory::ui {

void RegisterCommonClasses() {
  using shell::ComponentClasses;
  ComponentClasses::Register<TMainMenu>("TMainMenu");
  ComponentClasses::Register<MenuCommand>("MenuCommand");
  ComponentClasses::Register<CaptionLabel>("CaptionLabel");
  ComponentClasses::Register<TBevel>("TBevel");
  ComponentClasses::Register<TButton>("TButton");
}

}  // namespace pellory::ui
