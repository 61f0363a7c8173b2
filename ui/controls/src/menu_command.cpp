#include "pellory/ui/controls/menu_command.h"

#include <QMenu>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/tmainmenu.h"

namespace pellory::ui {

QKeySequence ShortCutKeys(int stored) {
  const int vk = stored & 0xFF;
  int key = 0;
  if (vk >= 112 && vk <= 135)
    key = Qt::Key_F1 + (vk - 112);
  else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
    key = vk;
  else if (vk != 0)
    throw shell::ShellError(QStringLiteral("Invalid property value"));
  if (key == 0) return {};
  if (stored & 0x2000) key |= Qt::SHIFT;
  if (stored & 0x4000) key |= Qt::CTRL;
  if (stored & 0x8000) key |= Qt::ALT;
  return QKeySequence(key);
}

MenuCommand::MenuCommand(const shell::CreationContext& context)
    : QObject(context.parentComponent ? context.parentComponent->Object() : context.window),
      action_(new QAction(this)),
      window_(context.window) {
  if (auto* bar = dynamic_cast<TMainMenu*>(context.parentComponent))
    bar->addAction(action_);
  else if (auto* parentItem = dynamic_cast<MenuCommand*>(context.parentComponent))
    parentItem->AddItem(action_);
  else
    throw shell::ShellError(QStringLiteral("A menu item needs a menu"));
  connect(action_, &QAction::triggered, this, [this] { Click(); });
}

void MenuCommand::AddItem(QAction* item) {
  if (!submenu_) {
    submenu_ = new QMenu(window_);
    submenu_->setObjectName(objectName() + QStringLiteral("Menu"));
    submenu_->setTitle(action_->text());
    action_->setMenu(submenu_);
  }
  submenu_->addAction(item);
}

void MenuCommand::Click() {
  if (OnClick) shell::RunGuarded(OnClick);
}

const shell::PropertyTable& MenuCommand::Properties() {
  using shell::Property;
  using M = MenuCommand;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      nullptr,
      {
          Property<M>("Caption",
                      [](M& m, V v) {
                        m.action_->setText(shell::StringValue(v));
                        if (m.submenu_) m.submenu_->setTitle(m.action_->text());
                      }),
          Property<M>("ShortCut",
                      [](M& m, V v) {
                        const int stored = shell::IntValue(v);
                        m.action_->setShortcut(ShortCutKeys(stored));
                        m.shortCut_ = stored;
                      }),
          Property<M>("HelpContext", [](M& m, V v) { m.helpContext_ = shell::IntValue(v); }),
          shell::Event<M>("OnClick", [](M& m, shell::Handler h) { m.OnClick = std::move(h); }),
          Property<M>("Enabled", [](M& m, V v) { m.action_->setEnabled(shell::BoolValue(v)); }),
          Property<M>("Visible", [](M& m, V v) { m.action_->setVisible(shell::BoolValue(v)); }),
      });
  return table;
}

}  // namespace pellory::ui
