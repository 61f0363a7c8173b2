#include "pellory/ui/about/timage.h"

#include <QPainter>

#include "about_accessible.h"
#include "pellory/shell/shell_error.h"
#include "pellory/ui/controls/resource_bitmap.h"

namespace pellory::ui {

TImage::TImage(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  InstallAboutBoxAccessibility();
}

void TImage::SetIcon(const QImage& icon) {
  icon_ = icon;
  update();
}

const shell::PropertyTable& TImage::Properties() {
  using shell::Property;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<TImage>("Picture.Icon",
                           [](TImage& i, V v) {
                             const QImage icon = ResourceIcon(shell::StringValue(v));
                             if (icon.isNull())
                               throw shell::ShellError(QStringLiteral("Invalid property value"));
                             i.SetIcon(icon);
                           }),
          Property<TImage>("Stretch", [](TImage& i, V v) { i.SetStretch(shell::BoolValue(v)); }),
      });
  return table;
}

void TImage::paintEvent(QPaintEvent*) {
  if (icon_.isNull()) return;
  QPainter p(this);
  p.drawImage(QPoint(0, 0), icon_);
}

}  // namespace pellory::ui
