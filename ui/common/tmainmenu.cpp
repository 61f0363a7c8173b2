#include "ui/common/tmainmenu.h"

#include "app/stored_window.h"

namespace pellory::ui {

TMainMenu::TMainMenu(const app::CreationContext& context) : QMenuBar(context.window) {
  // The bar is drawn inside the window, whatever the desktop would prefer.
  setNativeMenuBar(false);
}

void TMainMenu::SetStoredProperty(const QString& path, const app::StoredValue& value) {
  if (path == QLatin1String("Left") || path == QLatin1String("Top")) {
    app::IntValue(value);
    return;
  }
  UnknownProperty(path);
}

}  // namespace pellory::ui
