// The installed fonts window's pictures for pellory-screenshots.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace pellory::app {

// Saves the installed fonts window just opened and after each font type,
// on the machine's fonts; `save` writes one picture of a window.
bool SaveFontsWindow(const std::function<bool(QWidget*, const QString&)>& save);

}  // namespace pellory::app
