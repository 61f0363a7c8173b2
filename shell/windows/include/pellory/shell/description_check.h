// Checks a window's stored description against the classes it names before
// anything is built from it, so that a misspelt property or handler shows
// in a test rather than when a user opens the window.
#pragma once

#include <QStringList>

#include "pellory/shell/window_description.h"

namespace pellory::shell {

class StoredWindow;

// One line per fault, "Form2.Button1.Captoin: ..." : a component class
// that is not registered, a property or event that its class (or the
// window's, for the window's own) does not declare, an event whose value is
// not a handler name or a property whose value is one, and a handler name
// that `window` does not have. Empty when the description is sound.
QStringList DescriptionFaults(const WindowDescription& description, const StoredWindow& window);

}  // namespace pellory::shell
