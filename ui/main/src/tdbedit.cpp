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

const shell::PropertyTable& TDBEdit::Properties() {
  using shell::Property;
  using E = TDBEdit;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &BoundField::Properties(),
      {
          Property<E>("AutoSelect", [](E& e, V v) { e.autoSelect_ = shell::BoolValue(v); }),
          Property<E>("AutoSize", [](E& e, V v) { e.autoSize_ = shell::BoolValue(v); }),
          // The box stays read-only: its cursor is.
          Property<E>("ReadOnly", [](E&, V v) { shell::BoolValue(v); }),
      });
  return table;
}

}  // namespace pellory::ui
