// The grid window's scenes for pellory-screenshots.
#pragma once

#include <QDir>

namespace pellory::shell {
class TApplication;
}  // namespace pellory::shell

// Opens the grid window on the catalogue the engine configuration names
// and saves it at opening, after a page down and with pictures wider than
// their column; answers whether every picture was written.
bool SaveGridScenes(pellory::shell::TApplication& application, const QDir& dir);
