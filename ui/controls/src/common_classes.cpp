#include "pellory/ui/controls/common_classes.h"

#include "pellory/shell/component_classes.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/controls/tmainmenu.h"

namespace pellory::ui {

namespace {

template <class T>
void Add(const char* className) {
  shell::ComponentClasses::Register(QLatin1String(className),
                                    [](const shell::CreationContext& c) { return new T(c); });
}

}  // namespace

void RegisterCommonClasses() {
  Add<TMainMenu>("TMainMenu");
  Add<MenuCommand>("MenuCommand");
  Add<CaptionLabel>("CaptionLabel");
  Add<TBevel>("TBevel");
  Add<TButton>("TButton");
}

}  // namespace pellory::ui
