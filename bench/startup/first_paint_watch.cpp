#include "first_paint_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "startup_stages.h"

namespace pellory::bench {

FirstPaintWatch::FirstPaintWatch(QWidget* window, std::function<bool()> ready,
                                 std::function<void()> shown)
    : window_(window), ready_(std::move(ready)), shown_(std::move(shown)) {
  // On the application, as each control of the window gets its own paint.
  QCoreApplication::instance()->installEventFilter(this);
}

FirstPaintWatch::~FirstPaintWatch() {
  if (auto* application = QCoreApplication::instance()) application->removeEventFilter(this);
}

bool FirstPaintWatch::eventFilter(QObject* watched, QEvent* event) {
  if (seen_ || event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
  if (static_cast<QWidget*>(watched)->window() != window_ || !ready_()) return false;
  seen_ = true;
  Stages().Mark("paint");
  // The paint pass this event belongs to draws every control and flushes
  // the window before a zero timer fires.
  QTimer::singleShot(0, this, shown_);
  return false;
}

}  // namespace pellory::bench
