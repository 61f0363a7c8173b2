#include "pellory/ui/main/tdbedit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"

namespace pellory::ui {

TDBEdit::TDBEdit(const shell::CreationContext& context)
    : QLineEdit(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {
  setReadOnly(true);
  setPalette(shell::ControlPalette(shell::SystemColor::Window));
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int TDBEdit::AutoHeight() const {
  return shell::TextHeight(font()) + 8;
}

void TDBEdit::FontChanged() {
  DescribedControl::FontChanged();
  if (autoSize_) resize(width(), AutoHeight());
}

void TDBEdit::NotifyLoaded() {
  if (autoSize_) resize(width(), AutoHeight());
}

void TDBEdit::ReadField(data::TField* field) {
  const QString value = FieldText(field);
  if (value != text()) setText(value);
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Reread();
    selectAll();
    event->accept();
    return;
  }
  if (KeyChangesText(*event) && !EditRequest()) {
    // Refused: the read-only box ignores the key as it would anyway.
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  Reread();
  if (autoSelect_ && event->reason() != Qt::MouseFocusReason) selectAll();
}

void TDBEdit::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (SetBoundProperty(path, value)) return;
  if (path == QLatin1String("AutoSelect"))
    autoSelect_ = shell::BoolValue(value);
  else if (path == QLatin1String("AutoSize"))
    autoSize_ = shell::BoolValue(value);
  else if (path == QLatin1String("ReadOnly"))
    shell::BoolValue(value);  // The box stays read-only: its cursor is.
  else
    DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
