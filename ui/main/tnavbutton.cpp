#include "ui/main/tnavbutton.h"

namespace pellory::ui {

TNavButton::TNavButton(TNavigateBtn kind, QWidget* parent) : QToolButton(parent), kind_(kind) {
  setFocusPolicy(Qt::NoFocus);
  setAutoRaise(false);
  setEnabled(false);
}

}  // namespace pellory::ui
