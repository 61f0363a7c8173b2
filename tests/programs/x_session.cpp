#include "x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

extern char** environ;

namespace xtest {

namespace {

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (::access((std::filesystem::path(dir) / program).c_str(), X_OK) == 0) return true;
  return false;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// Reads what `fd` delivers until it closes (answers true) or `timeoutMs`
// passes without anything to read (false).
bool ReadAll(int fd, int timeoutMs, std::string& out) {
  char buffer[4096];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return false;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return true;
    out.append(buffer, size_t(n));
  }
}

// Runs `args` with standard output into a pipe; answers the exit code and
// what it wrote.
std::pair<int, std::string> Capture(std::vector<std::string> args,
                                    std::vector<std::string> environment) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return {-1, {}};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const auto argv = Pointers(args);
  const auto envp = Pointers(environment);
  const int error = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string text;
  const bool finished = error == 0 && ReadAll(out[0], 10'000, text);
  ::close(out[0]);
  if (error != 0) return {-1, {}};
  // A command that waits for something that never happens is ended.
  if (!finished) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

// Reads one line from `fd` (the server keeps its end open).
std::string ReadLine(int fd, int timeoutMs) {
  std::string out;
  char c;
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, timeoutMs) > 0 && ::read(fd, &c, 1) == 1) {
    if (c == '\n') return out;
    out += c;
  }
  return {};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

XSession::XSession() {
  for (const char* program : {"Xvfb", "xdotool"})
    if (!OnPath(program)) {
      problem_ = std::string(program) + " is not installed";
      return;
    }
  int fds[2];
  if (::pipe(fds) != 0) {
    problem_ = "cannot make a pipe";
    return;
  }
  ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  // -displayfd: the server picks a free display and writes its number.
  // -noreset: by default the server starts over when its last client
  // leaves, and a copy started at that moment finds no server to talk to.
  std::vector<std::string> args = {
      "Xvfb",
      "-noreset",
      "-displayfd",
      std::to_string(fds[1]),
      "-screen",
      "0",
      std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24",
      "-nolisten",
      "tcp"};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto argv = Pointers(args);
  const int error = ::posix_spawnp(&server_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  const std::string number = error == 0 ? ReadLine(fds[0], 30'000) : std::string();
  ::close(fds[0]);
  if (number.empty()) {
    problem_ = "Xvfb did not start";
    return;
  }
  display_ = ":" + number;
  // The number can arrive before clients are let in: wait until one is.
  for (int tries = 0; tries < 100; ++tries) {
    if (XDoTool({"getdisplaygeometry"})) return;
    ::usleep(100'000);
  }
  problem_ = "Xvfb on " + display_ + " lets no client in";
}

XSession::~XSession() {
  if (server_ <= 0) return;
  ::kill(server_, SIGTERM);
  ::waitpid(server_, nullptr, 0);
}

std::optional<std::string> XSession::XDoTool(const std::vector<std::string>& args) const {
  std::vector<std::string> command = {"xdotool"};
  command.insert(command.end(), args.begin(), args.end());
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("DISPLAY=", 0) != 0) environment.emplace_back(*e);
  environment.push_back("DISPLAY=" + display_);
  auto [code, out] = Capture(command, environment);
  if (code != 0) return std::nullopt;
  return out;
}

std::vector<std::string> XSession::Windows(const std::string& name) const {
  const auto out = XDoTool({"search", "--onlyvisible", "--name", name});
  return out ? Lines(*out) : std::vector<std::string>{};
}

std::optional<std::string> XSession::WindowOf(pid_t pid, const std::string& name) const {
  for (const std::string& window : Windows(name))
    if (PidOf(window) == pid) return window;
  return std::nullopt;
}

std::optional<pid_t> XSession::PidOf(const std::string& window) const {
  const auto out = XDoTool({"getwindowpid", window});
  if (!out) return std::nullopt;
  return pid_t(std::atol(out->c_str()));
}

std::optional<WindowGeometry> XSession::Geometry(const std::string& window) const {
  const auto out = XDoTool({"getwindowgeometry", "--shell", window});
  if (!out) return std::nullopt;
  WindowGeometry g;
  for (const std::string& line : Lines(*out)) {
    const auto eq = line.find('=');
    const std::string key = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (key == "X") g.x = value;
    if (key == "Y") g.y = value;
    if (key == "WIDTH") g.width = value;
    if (key == "HEIGHT") g.height = value;
  }
  return g;
}

bool XSession::Press(const std::string& window, const std::string& keys) const {
  std::vector<std::string> args = {"windowfocus", "--sync", window, "key", "--clearmodifiers"};
  std::stringstream in(keys);
  for (std::string key; in >> key;) args.push_back(key);
  return XDoTool(args).has_value();
}

void XSession::SendKey(const std::string& window, const std::string& key) const {
  XDoTool({"key", "--window", window, key});
}

}  // namespace xtest
