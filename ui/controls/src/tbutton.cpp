#include "pellory/ui/controls/tbutton.h"

#include "pellory/shell/stored_window.h"
#include "pellory/shell/tapplication.h"

namespace pellory::ui {

TButton::TButton(const shell::CreationContext& context)
    : QPushButton(context.parentWidget),
      DescribedControl(this, context, Focus::TabStop),
      window_(context.window) {
  setAutoDefault(true);
  connect(this, &QPushButton::clicked, this, [this] {
    if (OnClick) shell::RunGuarded(OnClick);
  });
}

void TButton::FontChanged() {
  DescribedControl::FontChanged();
  QPalette pal = palette();
  pal.setColor(QPalette::ButtonText, Font().color);
  setPalette(pal);
}

void TButton::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("Caption"))
    setText(shell::StringValue(value));
  else if (path == QLatin1String("OnClick"))
    OnClick = window_->FindHandler(shell::HandlerValue(value));
  else
    DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
