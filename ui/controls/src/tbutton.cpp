#include "pellory/ui/controls/tbutton.h"

#include "pellory/shell/stored_window.h"
#include "pellory/shell/tapplication.h"

namespace pellory::ui {

TButton::TButton(const shell::CreationContext& context)
    : QPushButton(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {
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

const shell::PropertyTable& TButton::Properties() {
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          shell::Property<TButton>("Caption",
                                   [](TButton& b, V v) { b.setText(shell::StringValue(v)); }),
          shell::Event<TButton>("OnClick",
                                [](TButton& b, shell::Handler h) { b.OnClick = std::move(h); }),
      });
  return table;
}

}  // namespace pellory::ui
