// Scaling a stored window, and every control on it, to the screen's
// resolution at the end of reading its description.
#include "pellory/shell/described_control.h"
#include "pellory/shell/screen_scaling.h"
#include "pellory/shell/stored_window.h"

namespace pellory::shell {

int StoredWindow::ScreenPixelsPerInch() const {
  return logicalDpiY();
}

void StoredWindow::ScaleToScreen(const std::vector<DescribedComponent*>& loaded) {
  const int screen = ScreenPixelsPerInch();
  if (pixelsPerInch_ <= 0 || screen <= 0 || screen == pixelsPerInch_) return;
  font_.height = Scaled(font_.height, screen, pixelsPerInch_);
  setFont(font_.ToQFont());
  // Sizes follow the text, so that every caption keeps its room; without a
  // stored text height the resolutions give the ratio.
  const int m = textHeight_ > 0 ? shell::TextHeight(font()) : screen;
  const int d = textHeight_ > 0 ? textHeight_ : pixelsPerInch_;
  outerSize_ = QSize(Scaled(outerSize_.width(), m, d), Scaled(outerSize_.height(), m, d));
  // A window stored by its client area (a dialog box) keeps that instead.
  if (clientSize_.isValid())
    clientSize_ = QSize(Scaled(clientSize_.width(), m, d), Scaled(clientSize_.height(), m, d));
  move(Scaled(x(), m, d), Scaled(y(), m, d));
  FitOuterSize();
  for (DescribedComponent* component : loaded)
    if (component != this) component->ChangeScale(m, d);
}

void DescribedControl::ChangeScale(int m, int d) {
  const QRect g = self_->geometry();
  self_->setGeometry(Scaled(g.x(), m, d), Scaled(g.y(), m, d), Scaled(g.width(), m, d),
                     Scaled(g.height(), m, d));
  // After the geometry, so that a control sized by its text (a label, a
  // text box) sizes itself to the new font.
  if (parentFont_ && window_)
    font_ = window_->Font();
  else
    font_.height = Scaled(font_.height, m, d);
  FontChanged();
}

}  // namespace pellory::shell
