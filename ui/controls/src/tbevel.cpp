#include "pellory/ui/controls/tbevel.h"

#include <QPainter>
#include <initializer_list>
#include <utility>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/controls/edge_box.h"

namespace pellory::ui {

namespace {

// The value of a stored enumeration name; others are refused.
template <class E>
E Named(const shell::StoredValue& value, std::initializer_list<std::pair<const char*, E>> names) {
  const QString stored = shell::StringValue(value);
  for (const auto& [name, e] : names)
    if (stored == QLatin1String(name)) return e;
  throw shell::ShellError(QStringLiteral("Invalid property value"));
}

}  // namespace

TBevel::TBevel(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

const shell::PropertyTable& TBevel::Properties() {
  using shell::Property;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<TBevel>(
              "Shape",
              [](TBevel& b, V v) {
                b.shape_ = Named<Shape>(v, {{"bsBox", Shape::Box}, {"bsFrame", Shape::Frame}});
                b.update();
              }),
          Property<TBevel>("Style",
                           [](TBevel& b, V v) {
                             b.style_ = Named<Style>(
                                 v, {{"bsLowered", Style::Lowered}, {"bsRaised", Style::Raised}});
                             b.update();
                           }),
      });
  return table;
}

void TBevel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor shadow = shell::ColorOf(shell::SystemColor::BtnShadow);
  const QColor light = shell::ColorOf(shell::SystemColor::BtnHighlight);
  const bool lowered = style_ == Style::Lowered;
  const QRect r = rect();
  if (shape_ == Shape::Box) {
    PaintEdgeBox(p, r, lowered ? shadow : light, lowered ? light : shadow);
  } else {
    // An etched frame: two boxes offset by one pixel.
    PaintEdgeBox(p,
                 r.adjusted(lowered ? 0 : 1, lowered ? 0 : 1, lowered ? -1 : 0, lowered ? -1 : 0),
                 shadow, shadow);
    PaintEdgeBox(p,
                 r.adjusted(lowered ? 1 : 0, lowered ? 1 : 0, lowered ? 0 : -1, lowered ? 0 : -1),
                 light, light);
  }
}

}  // namespace pellory::ui
