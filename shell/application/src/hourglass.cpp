#include "pellory/shell/hourglass.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

namespace pellory::shell {

std::function<void()> ShowHourglass() {
  const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  // Another thread must not touch the pointer, and a shape someone else
  // set (a modal run's arrow, an hourglass already up) stays.
  if (!app || QThread::currentThread() != app->thread() || QGuiApplication::overrideCursor())
    return {};
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  return [] { QGuiApplication::restoreOverrideCursor(); };
}

}  // namespace pellory::shell
