#include "shell_test_support.h"

#include "gui_helpers.h"

namespace shelltest {

void ShellTest::TearDown() {
  app.reset();
  guitest::pump();
}

pellory::shell::WindowDescription PlainWindow(const QString& className, int left, int top,
                                              int width, int height) {
  return {className,
          className.mid(1),
          {{"Left", left},
           {"Top", top},
           {"Width", width},
           {"Height", height},
           {"Caption", className},
           {"Position", QStringLiteral("poScreenCenter")}},
          {}};
}

}  // namespace shelltest
