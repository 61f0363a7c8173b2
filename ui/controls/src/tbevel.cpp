#include "pellory/ui/controls/tbevel.h"

#include <QPainter>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/system_colors.h"

namespace pellory::ui {

namespace {

// One-pixel box: top and left lines in `topLeft`, bottom and right in
// `bottomRight`.
void DrawBox(QPainter& p, QRect r, QColor topLeft, QColor bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(bottomRight);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

TBevel::TBevel(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  const auto invalid = [] { return shell::ShellError(QStringLiteral("Invalid property value")); };
  if (path == QLatin1String("Shape")) {
    const QString v = shell::StringValue(value);
    if (v == QLatin1String("bsBox"))
      shape_ = Shape::Box;
    else if (v == QLatin1String("bsFrame"))
      shape_ = Shape::Frame;
    else
      throw invalid();
  } else if (path == QLatin1String("Style")) {
    const QString v = shell::StringValue(value);
    if (v == QLatin1String("bsLowered"))
      style_ = Style::Lowered;
    else if (v == QLatin1String("bsRaised"))
      style_ = Style::Raised;
    else
      throw invalid();
  } else {
    DescribedControl::SetStoredProperty(path, value);
  }
  update();
}

void TBevel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor shadow = shell::ColorOf(shell::SystemColor::BtnShadow);
  const QColor light = shell::ColorOf(shell::SystemColor::BtnHighlight);
  const bool lowered = style_ == Style::Lowered;
  const QRect r = rect();
  if (shape_ == Shape::Box) {
    DrawBox(p, r, lowered ? shadow : light, lowered ? light : shadow);
  } else {
    // An etched frame: two boxes offset by one pixel.
    DrawBox(p, r.adjusted(lowered ? 0 : 1, lowered ? 0 : 1, lowered ? -1 : 0, lowered ? -1 : 0),
            shadow, shadow);
    DrawBox(p, r.adjusted(lowered ? 1 : 0, lowered ? 1 : 0, lowered ? 0 : -1, lowered ? 0 : -1),
            light, light);
  }
}

}  // namespace pellory::ui
