#include "gui_helpers.h"

#include <QApplication>
#include <QElapsedTimer>

namespace guitest {

bool pumpUntil(const std::function<bool()>& pred, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!pred()) {
    if (timer.elapsed() > timeoutMs) return pred();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(1);
  }
  return true;
}

void pump() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

QImage grabImage(QWidget* w) {
  QPixmap pm = w->grab();
  pm.setDevicePixelRatio(1.0);
  return pm.toImage().convertToFormat(QImage::Format_RGB32);
}

QColor pixelAt(QWidget* w, QPoint p) {
  return grabImage(w).pixelColor(p);
}

QRect boundsOfNot(const QImage& img, QColor background, QRect area) {
  if (area.isNull()) area = img.rect();
  area &= img.rect();
  QRect box;
  const QRgb bg = background.rgb();
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != (bg & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace guitest
