// The help engine: the one entry point through which the program asks for
// help. A help file name such as "fontl.hlp" stands for the help collection
// of the same base name (fontl.qhc), looked for beside the program and then
// in its installation's share/pellory/help, and shown in the help viewer.
#pragma once

#include <qwindowdefs.h>

#include <QString>
#include <functional>

namespace pellory::platform {

// The commands of the entry point.
enum HelpCommandNumber : int {
  kHelpContext = 1,   // data: the help context id of the topic to show
  kHelpQuit = 2,      // data: 0; ends the viewer
  kHelpContents = 3,  // data: 0; shows the contents page
};

// Carries out `command` on the help file `fileName` in the one viewer of
// the process, starting it when it is not running. `owner` is the native
// window asking; the viewer is a window of its own. Answers whether the
// command was carried out; why not has already been told the user once.
bool RequestHelp(WId owner, const QString& fileName, int command, quintptr data);

// How the engine tells the user that it cannot show help (no viewer, no
// help collection). Without one the text goes to standard error.
using HelpNotice = std::function<void(WId owner, const QString& text)>;
void SetHelpNotice(HelpNotice notice);

}  // namespace pellory::platform
