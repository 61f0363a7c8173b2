#include "ui/main/tdbmemo.h"

#include "ui/common/system_colors.h"

namespace pellory::ui {

TDBMemo::TDBMemo(const app::CreationContext& context)
    : QPlainTextEdit(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {
  setReadOnly(true);
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setPalette(ControlPalette(SystemColor::Window));
}

void TDBMemo::SetStoredProperty(const QString& path, const app::StoredValue& value) {
  if (!SetBoundProperty(path, value)) DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
