#include "timed_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace pellory::bench {
namespace {

// Output goes to anonymous files, read after the exit: a pipe could fill up
// and stall the program being timed.
class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("bench-output", MFD_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot keep a program's output");
  }
  ~MemoryFile() { ::close(fd_); }
  int fd() const { return fd_; }
  std::string Text() const {
    std::string text;
    char buffer[4096];
    ssize_t got;
    for (off_t at = 0; (got = pread(fd_, buffer, sizeof buffer, at)) > 0; at += got)
      text.append(buffer, static_cast<std::size_t>(got));
    return text;
  }

 private:
  int fd_;
};

}  // namespace

TimedRun RunTimed(const std::vector<std::string>& command) {
  MemoryFile output, errors;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output.fd(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errors.fd(), STDERR_FILENO);
  std::vector<char*> argv;
  for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const auto started = std::chrono::steady_clock::now();
  pid_t pid = -1;
  const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0)
    throw std::runtime_error("cannot start " + command[0] + ": " + std::strerror(error));
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const auto ended = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(command[0] + " failed: " + errors.Text());
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
  };
  return {std::chrono::duration<double, std::milli>(ended - started).count(), output.Text(),
          static_cast<double>(usage.ru_maxrss) / 1024.0, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

}  // namespace pellory::bench
