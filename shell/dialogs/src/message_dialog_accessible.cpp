#include "message_dialog_accessible.h"

#include <QAccessibleWidget>

#include "pellory/shell/accessible_classes.h"
#include "pellory/shell/message_dialog.h"

namespace pellory::shell {

namespace {

class MessageAccessible;

// The message, which the dialog paints itself, as a static text.
class MessageTextAccessible : public QAccessibleInterface {
 public:
  explicit MessageTextAccessible(MessageAccessible* dialog) : dialog_(dialog) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::StaticText; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    return state;
  }

 private:
  MessageAccessible* dialog_;  // deletes this text before itself
};

class MessageAccessible : public QAccessibleWidget {
 public:
  explicit MessageAccessible(MessageDialog* dialog)
      : QAccessibleWidget(dialog, QAccessible::AlertMessage) {}
  ~MessageAccessible() override {
    if (textId_) QAccessible::deleteAccessibleInterface(textId_);
  }

  MessageDialog& Dialog() const { return *static_cast<MessageDialog*>(widget()); }

  int childCount() const override { return QAccessibleWidget::childCount() + 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? MessageText() : QAccessibleWidget::child(index - 1);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (textId_ && child == QAccessible::accessibleInterface(textId_)) return 0;
    const int index = QAccessibleWidget::indexOfChild(child);
    return index < 0 ? -1 : index + 1;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) return Dialog().Text();
    return QAccessibleWidget::text(t);
  }

 private:
  QAccessibleInterface* MessageText() const {
    if (!textId_)
      textId_ = QAccessible::registerAccessibleInterface(
          new MessageTextAccessible(const_cast<MessageAccessible*>(this)));
    return QAccessible::accessibleInterface(textId_);
  }

  mutable QAccessible::Id textId_ = 0;
};

bool MessageTextAccessible::isValid() const {
  return dialog_->isValid();
}

QAccessibleInterface* MessageTextAccessible::parent() const {
  return dialog_;
}

QString MessageTextAccessible::text(QAccessible::Text t) const {
  return t == QAccessible::Name ? dialog_->Dialog().Text() : QString();
}

QRect MessageTextAccessible::rect() const {
  const MessageDialog& dialog = dialog_->Dialog();
  const QRect area = dialog.Layout().text;
  return {dialog.mapToGlobal(area.topLeft()), area.size()};
}

}  // namespace

void InstallMessageDialogAccessibility() {
  RegisterAccessibleClasses({AccessibleOf<MessageDialog, MessageAccessible>()});
}

void AnnounceAlert(MessageDialog& dialog) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(&dialog, QAccessible::Alert);
  QAccessible::updateAccessibility(&event);
}

}  // namespace pellory::shell
