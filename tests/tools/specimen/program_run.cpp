#include "program_run.h"

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

extern char** environ;

namespace pellory::testkit {

namespace {

// The limit is the program's from its start: set here before it is
// spawned, with SIGXFSZ ignored so that a write past it fails instead of
// ending the program, and put back after.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(long long bytes) : active_(bytes >= 0) {
    if (!active_) return;
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit limit{static_cast<rlim_t>(bytes), saved_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    savedAction_ = ::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    if (!active_) return;
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, savedAction_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  bool active_;
  rlimit saved_{};
  sighandler_t savedAction_ = SIG_DFL;
};

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& command, const StopWhen& stop,
                      long long fileSizeLimit) {
  ProgramRun run;
  int outPipe[2], errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
    posix_spawn_file_actions_addclose(&actions, fd);
  std::vector<std::string> args = command;
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int spawned = -1;
  {
    const FileSizeLimit limit(fileSizeLimit);
    spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  }
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  bool stopped = false;
  std::array<pollfd, 2> fds{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
  int open = spawned == 0 ? 2 : 0;
  while (open > 0) {
    if (::poll(fds.data(), fds.size(), -1) < 0) break;
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        fds[i].fd = -1;
        --open;
        continue;
      }
      (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
    }
    if (!stopped && !stop.errorText.empty() && run.err.find(stop.errorText) != std::string::npos) {
      ::kill(pid, stop.signal);
      stopped = true;
    }
  }
  ::close(outPipe[0]);
  ::close(errPipe[0]);
  if (spawned != 0) return run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

}  // namespace pellory::testkit
