// The stored description of the installed fonts window and the classes it
// names.
#pragma once

#include "pellory/shell/window_description.h"

namespace pellory::ui {

shell::WindowDescription FontsWindowDescription();

// Registers the description and the control classes it names; safe to
// call again.
void RegisterFontsWindow();

}  // namespace pellory::ui
