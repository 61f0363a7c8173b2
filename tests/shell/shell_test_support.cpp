#include "shell_test_support.h"

#include "gui_helpers.h"

namespace shelltest {

void ShellTest::TearDown() {
  app.reset();
  guitest::pump();
}

std::ostream& operator<<(std::ostream& out, const HelpCall& call) {
  return out << "{owner " << call.owner << ", \"" << call.fileName.toStdString() << "\", command "
             << call.command << ", data " << static_cast<qintptr>(call.data) << "}";
}

pellory::shell::TApplication::HelpEngine RecordingHelpEngine(
    std::shared_ptr<std::vector<HelpCall>> calls) {
  return
      [calls = std::move(calls)](WId owner, const QString& fileName, int command, quintptr data) {
        calls->push_back({owner, fileName, command, data});
      };
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
