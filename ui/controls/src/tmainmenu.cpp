#include "pellory/ui/controls/tmainmenu.h"

#include "pellory/shell/stored_window.h"

namespace pellory::ui {

TMainMenu::TMainMenu(const shell::CreationContext& context) : QMenuBar(context.window) {
  // The bar is drawn inside the window, whatever the desktop would prefer.
  setNativeMenuBar(false);
}

void TMainMenu::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("Left") || path == QLatin1String("Top")) {
    shell::IntValue(value);
    return;
  }
  UnknownProperty(path);
}

}  // namespace pellory::ui
