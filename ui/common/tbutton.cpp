#include "ui/common/tbutton.h"

#include "app/stored_window.h"
#include "app/tapplication.h"

namespace pellory::ui {

TButton::TButton(const app::CreationContext& context)
    : QPushButton(context.parentWidget),
      DescribedControl(this, context, Focus::TabStop),
      window_(context.window) {
  setAutoDefault(true);
  connect(this, &QPushButton::clicked, this, [this] {
    if (OnClick) app::RunGuarded(OnClick);
  });
}

void TButton::FontChanged() {
  DescribedControl::FontChanged();
  QPalette pal = palette();
  pal.setColor(QPalette::ButtonText, Font().color);
  setPalette(pal);
}

void TButton::SetStoredProperty(const QString& path, const app::StoredValue& value) {
  if (path == QLatin1String("Caption"))
    setText(app::StringValue(value));
  else if (path == QLatin1String("OnClick"))
    OnClick = window_->FindHandler(app::HandlerValue(value));
  else
    DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
