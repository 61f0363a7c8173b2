#include "ui/main/tnavbutton.h"

#include <QIcon>
#include <QPixmap>

#include "ui/main/nav_glyph.h"

namespace pellory::ui {

TNavButton::TNavButton(TNavigateBtn kind, QWidget* parent) : QToolButton(parent), kind_(kind) {
  setFocusPolicy(Qt::NoFocus);
  setAutoRaise(false);
  setEnabled(false);
  const NavGlyph glyph = LoadNavGlyph(kind);
  if (!glyph.IsNull()) {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(glyph.normal), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(glyph.disabled), QIcon::Disabled);
    setIcon(icon);
    setIconSize(glyph.normal.size());
  }
  if (Repeats()) {
    // Held down: a first step after 400 ms, then one every 100 ms.
    setAutoRepeat(true);
    setAutoRepeatDelay(400);
    setAutoRepeatInterval(100);
  }
}

}  // namespace pellory::ui
