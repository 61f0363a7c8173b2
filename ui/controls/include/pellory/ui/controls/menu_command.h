// One item of a menu bar: a top-level menu when it has items of its own,
// otherwise a command with an optional shortcut key.
#pragma once

#include <QAction>
#include <QObject>
#include <functional>

#include "pellory/shell/described_component.h"

class QMenu;

namespace pellory::ui {

class MenuCommand : public QObject, public shell::DescribedComponent {
  Q_OBJECT
 public:
  explicit MenuCommand(const shell::CreationContext& context);

  QAction* Action() const { return action_; }
  QMenu* Submenu() const { return submenu_; }
  QString Caption() const { return action_->text(); }
  int ShortCut() const { return shortCut_; }
  int HelpContext() const override { return helpContext_; }

  // The click handler; runs inside the guard when the item is chosen.
  std::function<void()> OnClick;
  void Click();

  // Caption, ShortCut (a virtual-key code with modifier flags), HelpContext,
  // OnClick, Enabled, Visible.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  QObject* Object() override { return this; }

 private:
  void AddItem(QAction* item);

  QAction* action_;
  QMenu* submenu_ = nullptr;
  shell::StoredWindow* window_;
  int shortCut_ = 0;
  int helpContext_ = 0;
};

// The key sequence of a stored shortcut: a virtual-key code (F1 is 112) with
// the flags 0x2000 Shift, 0x4000 Ctrl and 0x8000 Alt. 0 is none.
QKeySequence ShortCutKeys(int stored);

}  // namespace pellory::ui
