// Which help topic a help request asks for: the id of the focused control
// or of the highlighted menu item, looked up as the windows expect.
#pragma once

class QAction;
class QMenu;
class QWidget;

namespace pellory::shell {

// The id for a help request on `control`: its own, else the first non-zero
// one of its parents up to and including its window; 0 when none has one,
// and then nothing is asked.
int ControlHelpContext(const QWidget* control);

// The id for a help request on an open menu: that of the `highlighted`
// item, else of its nearest parent item with one; failing that, that of
// the item whose submenu is `containing` (null for the menu bar), else of
// its nearest parent item with one; 0 when none has one, which is still
// asked for.
int MenuHelpContext(const QAction* highlighted, const QMenu* containing);

}  // namespace pellory::shell
