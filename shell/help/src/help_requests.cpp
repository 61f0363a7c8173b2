#include "pellory/shell/help_requests.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "pellory/shell/described_component.h"

namespace pellory::shell {

namespace {

// A menu item's action is a child of its component, whose parent object is
// its parent item or, for a top-level item, the menu bar: the walk up the
// items ends at the first widget.
int ItemHelpContext(const QAction* action) {
  for (const QObject* item = action ? action->parent() : nullptr; item && !item->isWidgetType();
       item = item->parent()) {
    const auto* component = dynamic_cast<const DescribedComponent*>(item);
    if (component && component->HelpContext() != 0) return component->HelpContext();
  }
  return 0;
}

}  // namespace

int ControlHelpContext(const QWidget* control) {
  // Widgets that are not controls of a description (the buttons inside a
  // group, the client area, the scroll area) have no id of their own.
  for (const QWidget* w = control; w; w = w->parentWidget()) {
    const auto* component = dynamic_cast<const DescribedComponent*>(w);
    if (component && component->HelpContext() != 0) return component->HelpContext();
    if (w->isWindow()) break;
  }
  return 0;
}

int MenuHelpContext(const QAction* highlighted, const QMenu* containing) {
  const int id = ItemHelpContext(highlighted);
  if (id != 0 || !containing) return id;
  // A menu's own action is the item it drops down from.
  return ItemHelpContext(containing->menuAction());
}

}  // namespace pellory::shell
