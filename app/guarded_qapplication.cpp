#include "app/guarded_qapplication.h"

#include "app/tapplication.h"

namespace pellory::app {

bool GuardedQApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    TApplication* app = TApplication::Instance();
    if (!app) throw;
    app->HandleException(std::current_exception());
    return false;
  }
}

}  // namespace pellory::app
