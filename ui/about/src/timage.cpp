#include "pellory/ui/about/timage.h"

#include <QPainter>

#include "pellory/shell/shell_error.h"
#include "pellory/ui/controls/resource_bitmap.h"

namespace pellory::ui {

TImage::TImage(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {}

void TImage::SetIcon(const QImage& icon) {
  icon_ = icon;
  update();
}

void TImage::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("Picture.Icon")) {
    const QImage icon = ResourceIcon(shell::StringValue(value));
    if (icon.isNull()) throw shell::ShellError(QStringLiteral("Invalid property value"));
    SetIcon(icon);
  } else if (path == QLatin1String("Stretch")) {
    stretch_ = shell::BoolValue(value);
  } else {
    DescribedControl::SetStoredProperty(path, value);
  }
}

void TImage::paintEvent(QPaintEvent*) {
  if (icon_.isNull()) return;
  QPainter p(this);
  p.drawImage(QPoint(0, 0), icon_);
}

}  // namespace pellory::ui
