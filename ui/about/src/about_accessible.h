// How the About box reads to a screen reader: the program's icon as an
// image named after the program, the bevelled panel as a panel.
#pragma once

namespace pellory::ui {

// Installs the accessible interfaces of the image and the panel; the first
// call does it.
void InstallAboutBoxAccessibility();

}  // namespace pellory::ui
