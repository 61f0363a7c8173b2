#include "pellory/ui/main/tnavbutton.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "pellory/ui/main/nav_glyph.h"

namespace pellory::ui {

TNavButton::TNavButton(TNavigateBtn kind, QWidget* parent) : QToolButton(parent), kind_(kind) {
  setFocusPolicy(Qt::NoFocus);
  setAutoRaise(false);
  setEnabled(false);
  const NavGlyph glyph = LoadNavGlyph(kind);
  normal_ = glyph.normal;
  disabled_ = glyph.disabled;
  if (Repeats()) {
    // Held down: a first step after 400 ms, then one every 100 ms.
    setAutoRepeat(true);
    setAutoRepeatDelay(400);
    setAutoRepeatInterval(100);
  }
}

QPoint TNavButton::GlyphOrigin() const {
  constexpr int kEdge = 2;
  const QRect face = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
  QPoint origin(face.left() + (face.width() - normal_.width() + 1) / 2,
                face.top() + (face.height() - normal_.height() + 1) / 2);
  if (isDown()) origin += QPoint(1, 1);
  return origin;
}

void TNavButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  option.icon = QIcon();
  option.text.clear();
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
  if (!normal_.isNull()) painter.drawImage(GlyphOrigin(), isEnabled() ? normal_ : disabled_);
}

}  // namespace pellory::ui
