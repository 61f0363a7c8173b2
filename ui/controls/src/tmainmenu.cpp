#include "pellory/ui/controls/tmainmenu.h"

#include "pellory/shell/stored_window.h"

namespace pellory::ui {

TMainMenu::TMainMenu(const shell::CreationContext& context) : QMenuBar(context.window) {
  // The bar is drawn inside the window, whatever the desktop would prefer.
  setNativeMenuBar(false);
}

const shell::PropertyTable& TMainMenu::Properties() {
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      nullptr, {
                   shell::Property<TMainMenu>("Left", [](TMainMenu&, V v) { shell::IntValue(v); }),
                   shell::Property<TMainMenu>("Top", [](TMainMenu&, V v) { shell::IntValue(v); }),
               });
  return table;
}

}  // namespace pellory::ui
