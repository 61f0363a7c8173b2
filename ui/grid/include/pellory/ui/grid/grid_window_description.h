// The stored description of the grid window and the classes it names.
#pragma once

#include "pellory/shell/window_description.h"

namespace pellory::ui {

// The description of TForm3, as data: the window, the picture grid with
// its column list, the data source, the cursor with its control-type list,
// and the menu.
shell::WindowDescription GridWindowDescription();

// Registers the description (unless one is registered already) and the
// classes it names; safe to call again.
void RegisterGridWindow();

}  // namespace pellory::ui
