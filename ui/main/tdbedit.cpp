#include "ui/main/tdbedit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include "ui/common/stored_font.h"
#include "ui/common/system_colors.h"

namespace pellory::ui {

TDBEdit::TDBEdit(const app::CreationContext& context)
    : QLineEdit(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {
  setReadOnly(true);
  setPalette(ControlPalette(SystemColor::Window));
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int TDBEdit::AutoHeight() const {
  return TextHeight(font()) + 8;
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

void TDBEdit::SetStoredProperty(const QString& path, const app::StoredValue& value) {
  if (SetBoundProperty(path, value)) return;
  if (path == QLatin1String("AutoSelect"))
    autoSelect_ = app::BoolValue(value);
  else if (path == QLatin1String("AutoSize"))
    autoSize_ = app::BoolValue(value);
  else if (path == QLatin1String("ReadOnly"))
    app::BoolValue(value);  // The box stays read-only: its cursor is.
  else
    DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
