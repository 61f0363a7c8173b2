#include "probe_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace pellory::bench {
namespace {

std::vector<char*> PointersOf(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const auto& change : changes) replaced = replaced || change.rfind(name, 0) == 0;
    if (!replaced) result.push_back(text);
  }
  result.insert(result.end(), changes.begin(), changes.end());
  return result;
}

// Spawns with standard output and error going to `outputFd` and `errorFd`
// (-1: inherited).
pid_t Spawn(std::vector<std::string> command, std::vector<std::string> environment, int outputFd,
            int errorFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  if (errorFd >= 0) posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
  pid_t pid = -1;
  const auto argv = PointersOf(command);
  const auto envp = PointersOf(environment);
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0)
    throw std::runtime_error("cannot start " + command[0] + ": " + std::strerror(error));
  return pid;
}

int WaitForExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

std::string ExitText(int status) {
  if (WIFEXITED(status)) return "exit code " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "unknown status";
}

// Reads up to the first newline; empty when the pipe closes or time runs out.
std::string ReadLine(int fd, std::int64_t deadlineNs) {
  std::string line;
  char buffer[512];
  while (line.find('\n') == std::string::npos) {
    const auto leftMs = (deadlineNs - MonotonicNanoseconds()) / 1'000'000;
    pollfd readable{fd, POLLIN, 0};
    if (leftMs <= 0 || poll(&readable, 1, static_cast<int>(leftMs)) <= 0) return {};
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) return {};
    line.append(buffer, static_cast<std::size_t>(got));
  }
  return line.substr(0, line.find('\n'));
}

// Holds a probe's error output, which Qt fills with notes on every start,
// to be shown only when the start fails.
class ErrorOutput {
 public:
  ErrorOutput() : fd_(memfd_create("probe-errors", MFD_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot keep the probe's error output");
  }
  ~ErrorOutput() { ::close(fd_); }
  int Fd() const { return fd_; }
  std::string LastLines() const {
    std::string text(4096, '\0');
    const off_t size = lseek(fd_, 0, SEEK_END);
    const off_t from = size > off_t{4096} ? size - 4096 : 0;
    const ssize_t got = pread(fd_, text.data(), text.size(), from);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
  }

 private:
  int fd_;
};

class Pipe {
 public:
  Pipe() {
    if (pipe2(fds_, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
  }
  ~Pipe() {
    CloseWriteEnd();
    ::close(fds_[0]);
  }
  int ReadEnd() const { return fds_[0]; }
  int WriteEnd() const { return fds_[1]; }
  void CloseWriteEnd() {
    if (fds_[1] >= 0) ::close(fds_[1]);
    fds_[1] = -1;
  }

 private:
  int fds_[2] = {-1, -1};
};

}  // namespace

ProbeStart TimeProbeStart(const std::vector<std::string>& command,
                          const EnvironmentChanges& changes, int timeoutMs) {
  Pipe output;
  ErrorOutput errors;
  auto environment = ChangedEnvironment(changes);
  const std::int64_t spawnedNs = MonotonicNanoseconds();
  environment.push_back(std::string(kSpawnedAtVariable) + "=" + std::to_string(spawnedNs));
  const pid_t pid = Spawn(command, std::move(environment), output.WriteEnd(), errors.Fd());
  output.CloseWriteEnd();
  const std::string line =
      ReadLine(output.ReadEnd(), spawnedNs + std::int64_t{timeoutMs} * 1'000'000);
  const std::int64_t arrivedNs = MonotonicNanoseconds();
  if (line.empty()) kill(pid, SIGKILL);
  const int status = WaitForExit(pid);
  const std::string what = command[0] + " " + command.back();
  ProbeStart start;
  if (line.empty() || !ParseShownLine(line, &start.stages))
    throw std::runtime_error(what + " showed nothing (" + ExitText(status) + "):\n" +
                             errors.LastLines());
  if (status != 0)
    throw std::runtime_error(what + " ended with " + ExitText(status) + ":\n" + errors.LastLines());
  start.shownAfterMs = static_cast<double>(arrivedNs - spawnedNs) / 1e6;
  return start;
}

}  // namespace pellory::bench
