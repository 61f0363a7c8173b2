#include "pellory/shell/guarded_qapplication.h"

#include "pellory/shell/tapplication.h"

namespace pellory::shell {

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

}  // namespace pellory::shell
