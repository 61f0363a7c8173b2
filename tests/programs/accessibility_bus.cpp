#include "accessibility_bus.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace xtest {

namespace {

constexpr const char* kLaunchers[] = {"/usr/libexec/at-spi-bus-launcher",
                                      "/usr/lib/at-spi2-core/at-spi-bus-launcher"};

// Runs `command` through the shell; answers its standard output, and
// whether it exited with 0 in `ok`.
std::string Output(const std::string& command, bool* ok = nullptr) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    if (ok) *ok = false;
    return out;
  }
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  if (ok) *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return out;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(line);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  if (!line.empty() && line.back() == separator) parts.emplace_back();
  return parts;
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  pid = -1;
}

}  // namespace

AccessibilityBus::AccessibilityBus(const std::string& display) {
  bool ok = false;
  Output(std::string(PELLORY_SYSTEM_PYTHON) + " -c 'import pyatspi' 2>/dev/null", &ok);
  if (!ok) {
    problem_ = "Python's AT-SPI binding (python3-pyatspi) is not installed";
    return;
  }
  const char* launcher = nullptr;
  for (const char* path : kLaunchers)
    if (::access(path, X_OK) == 0) launcher = path;
  if (!launcher) {
    problem_ = "the AT-SPI bus launcher (at-spi2-core) is not installed";
    return;
  }
  // --fork: the daemon is ready once it has printed its address and pid.
  const auto lines = Split(
      Output("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null"), '\n');
  if (lines.size() < 2 || lines[0].empty()) {
    problem_ = "no session D-Bus could be started (dbus-daemon)";
    return;
  }
  sessionBus_ = std::atoi(lines[1].c_str());
  ::setenv("DBUS_SESSION_BUS_ADDRESS", lines[0].c_str(), 1);
  ::setenv("DISPLAY", display.c_str(), 1);
  ::unsetenv("AT_SPI_BUS_ADDRESS");
  launcher_ = ::fork();
  if (launcher_ == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
      ::dup2(null, STDOUT_FILENO);
      ::dup2(null, STDERR_FILENO);
    }
    ::execl(launcher, launcher, "--launch-immediately", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // The bus is there once the launcher answers on the session bus.
  for (int tries = 0; tries < 100; ++tries) {
    Output(
        "dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus "
        "org.a11y.Bus.GetAddress >/dev/null 2>&1",
        &ok);
    if (ok) break;
    ::usleep(100'000);
  }
  if (!ok) {
    problem_ = "the accessibility bus did not come up";
    return;
  }
  ::setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
}

AccessibilityBus::~AccessibilityBus() {
  ::unsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
  Stop(launcher_);
  Stop(sessionBus_);
}

std::string AccessibilityBus::Script(pid_t pid, const std::string& arguments) const {
  return Trimmed(Output(std::string(PELLORY_SYSTEM_PYTHON) + " " + PELLORY_ACCESSIBILITY_TREE +
                        " " + std::to_string(pid) + " " + arguments + " 2>/dev/null"));
}

std::vector<AccessibleRow> AccessibilityBus::Tree(pid_t pid, const std::string& window) const {
  std::vector<AccessibleRow> rows;
  const std::string text = Script(pid, window.empty() ? "" : "'" + window + "'");
  for (const std::string& line : Split(text, '\n')) {
    std::vector<std::string> f = Split(line, '\t');
    if (f.size() < 6) continue;
    rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
  }
  return rows;
}

}  // namespace xtest
