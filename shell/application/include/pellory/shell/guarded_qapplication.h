// The program's QApplication: every event is delivered inside the guard,
// so an error raised by any handler reaches the error display and the
// event loop goes on.
#pragma once

#include <QApplication>

namespace pellory::shell {

class GuardedQApplication : public QApplication {
 public:
  GuardedQApplication(int& argc, char** argv) : QApplication(argc, argv) {}

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pellory::shell
