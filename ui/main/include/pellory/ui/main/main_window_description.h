// The stored description of the main window and the classes it names.
#pragma once

#include "pellory/shell/window_description.h"

namespace pellory::ui {

// The description of TForm2, as data: layout, fonts, tab order, help
// context ids and the menu.
shell::WindowDescription MainWindowDescription();

// Registers the description and the control classes it names; safe to
// call again.
void RegisterMainWindow();

}  // namespace pellory::ui
