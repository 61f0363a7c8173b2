// The stored description of the About box and the classes it names.
#pragma once

#include "pellory/shell/window_description.h"

namespace pellory::ui {

// The description of TAboutBox, as data.
shell::WindowDescription AboutBoxDescription();

// Registers the description and the control classes it names; safe to
// call again.
void RegisterAboutBox();

}  // namespace pellory::ui
