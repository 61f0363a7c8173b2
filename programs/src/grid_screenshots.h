// The grid window's pictures for pellory-screenshots.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace pellory::app {

// Saves the grid window on the catalogue the engine configuration names:
// at opening, after a page down and with its picture column narrower than
// the pictures; `save` writes one picture of a window.
bool SaveGridWindow(const std::function<bool(QWidget*, const QString&)>& save);

}  // namespace pellory::app
