#include "pellory/ui/about/tpanel.h"

#include <QPainter>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/system_colors.h"

namespace pellory::ui {

namespace {

TPanel::Bevel BevelValue(const shell::StoredValue& value) {
  const QString v = shell::StringValue(value);
  if (v == QLatin1String("bvNone")) return TPanel::Bevel::None;
  if (v == QLatin1String("bvLowered")) return TPanel::Bevel::Lowered;
  if (v == QLatin1String("bvRaised")) return TPanel::Bevel::Raised;
  throw shell::ShellError(QStringLiteral("Invalid property value"));
}

// Draws one bevel of one pixel around `r` and answers the rectangle inside
// it; no bevel leaves `r` as it is.
QRect DrawBevel(QPainter& p, QRect r, TPanel::Bevel bevel) {
  if (bevel == TPanel::Bevel::None) return r;
  const QColor shadow = shell::ColorOf(shell::SystemColor::BtnShadow);
  const QColor light = shell::ColorOf(shell::SystemColor::BtnHighlight);
  const bool lowered = bevel == TPanel::Bevel::Lowered;
  p.setPen(lowered ? shadow : light);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(lowered ? light : shadow);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  return r.adjusted(1, 1, -1, -1);
}

}  // namespace

TPanel::TPanel(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setAutoFillBackground(true);
}

void TPanel::SetBevelOuter(Bevel bevel) {
  outer_ = bevel;
  update();
}

void TPanel::SetBevelInner(Bevel bevel) {
  inner_ = bevel;
  update();
}

void TPanel::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

const shell::PropertyTable& TPanel::Properties() {
  using shell::Property;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<TPanel>("BevelOuter", [](TPanel& p, V v) { p.SetBevelOuter(BevelValue(v)); }),
          Property<TPanel>("BevelInner", [](TPanel& p, V v) { p.SetBevelInner(BevelValue(v)); }),
          Property<TPanel>("Caption", [](TPanel& p, V v) { p.SetCaption(shell::StringValue(v)); }),
          // The panel takes its window's colour either way.
          Property<TPanel>("ParentColor", [](TPanel&, V v) { shell::BoolValue(v); }),
      });
  return table;
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect face = DrawBevel(p, DrawBevel(p, rect(), outer_), inner_);
  if (caption_.isEmpty()) return;
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(face, Qt::AlignCenter, caption_);
}

}  // namespace pellory::ui
