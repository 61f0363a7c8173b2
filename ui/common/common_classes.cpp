#include "ui/common/common_classes.h"

#include "app/component_classes.h"
#include "ui/common/caption_label.h"
#include "ui/common/menu_command.h"
#include "ui/common/tbevel.h"
#include "ui/common/tbutton.h"
#include "ui/common/tmainmenu.h"

namespace pellory::ui {

namespace {

template <class T>
void Add(const char* className) {
  app::ComponentClasses::Register(QLatin1String(className),
                                  [](const app::CreationContext& c) { return new T(c); });
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
