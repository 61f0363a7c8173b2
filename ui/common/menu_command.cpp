#include "ui/common/menu_command.h"

#include <QMenu>

#include "app/shell_error.h"
#include "app/stored_window.h"
#include "app/tapplication.h"
#include "ui/common/tmainmenu.h"

namespace pellory::ui {

QKeySequence ShortCutKeys(int stored) {
  const int vk = stored & 0xFF;
  int key = 0;
  if (vk >= 112 && vk <= 135)
    key = Qt::Key_F1 + (vk - 112);
  else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
    key = vk;
  else if (vk != 0)
    throw app::ShellError(QStringLiteral("Invalid property value"));
  if (key == 0) return {};
  if (stored & 0x2000) key |= Qt::SHIFT;
  if (stored & 0x4000) key |= Qt::CTRL;
  if (stored & 0x8000) key |= Qt::ALT;
  return QKeySequence(key);
}

MenuCommand::MenuCommand(const app::CreationContext& context)
    : QObject(context.parentComponent ? context.parentComponent->Object() : context.window),
      action_(new QAction(this)),
      window_(context.window) {
  if (auto* bar = dynamic_cast<TMainMenu*>(context.parentComponent))
    bar->addAction(action_);
  else if (auto* parentItem = dynamic_cast<MenuCommand*>(context.parentComponent))
    parentItem->AddItem(action_);
  else
    throw app::ShellError(QStringLiteral("A menu item needs a menu"));
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
  if (OnClick) app::RunGuarded(OnClick);
}

void MenuCommand::SetStoredProperty(const QString& path, const app::StoredValue& value) {
  if (path == QLatin1String("Caption")) {
    action_->setText(app::StringValue(value));
    if (submenu_) submenu_->setTitle(action_->text());
  } else if (path == QLatin1String("ShortCut")) {
    const int stored = app::IntValue(value);
    action_->setShortcut(ShortCutKeys(stored));
    shortCut_ = stored;
  } else if (path == QLatin1String("HelpContext")) {
    helpContext_ = app::IntValue(value);
  } else if (path == QLatin1String("OnClick")) {
    OnClick = window_->FindHandler(app::HandlerValue(value));
  } else if (path == QLatin1String("Enabled")) {
    action_->setEnabled(app::BoolValue(value));
  } else if (path == QLatin1String("Visible")) {
    action_->setVisible(app::BoolValue(value));
  } else {
    UnknownProperty(path);
  }
}

}  // namespace pellory::ui
