#include "pellory/ui/main/tnavbutton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QTimer>

#include "pellory/ui/main/nav_glyph.h"

namespace pellory::ui {

TNavButton::TNavButton(TNavigateBtn kind, QWidget* parent) : QToolButton(parent), kind_(kind) {
  setFocusPolicy(Qt::NoFocus);
  setAutoRaise(false);
  setEnabled(false);
  const NavGlyph glyph = LoadNavGlyph(kind);
  normal_ = glyph.normal;
  disabled_ = glyph.disabled;
}

namespace {
// Held down: a first step after 400 ms, then one every 100 ms.
constexpr int kRepeatDelay = 400;
constexpr int kRepeatInterval = 100;
}  // namespace

bool TNavButton::hitButton(const QPoint& pos) const {
  return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() <= height();
}

void TNavButton::mousePressEvent(QMouseEvent* event) {
  QToolButton::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  held_ = true;
  if (!Repeats()) return;
  if (!repeatTimer_) {
    repeatTimer_ = new QTimer(this);
    connect(repeatTimer_, &QTimer::timeout, this, &TNavButton::RepeatTimerFired);
  }
  repeatTimer_->start(kRepeatDelay);
}

void TNavButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    held_ = false;
    if (repeatTimer_) repeatTimer_->stop();
  }
  // Clicks when released over the button, in addition to any repeats.
  QToolButton::mouseReleaseEvent(event);
}

void TNavButton::RepeatTimerFired() {
  repeatTimer_->setInterval(kRepeatInterval);
  if (held_ && isDown() && isEnabled()) emit clicked();
}

void TNavButton::CancelPress() {
  held_ = false;
  if (repeatTimer_) repeatTimer_->stop();
  setDown(false);
}

void TNavButton::changeEvent(QEvent* event) {
  QToolButton::changeEvent(event);
  // A disabled button takes no release, so its press ends here.
  if (event->type() == QEvent::EnabledChange && !isEnabled()) {
    held_ = false;
    if (repeatTimer_) repeatTimer_->stop();
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
