#include "mutex_test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace mutextest {

namespace {

void MakePipe(int fds[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Closes every descriptor from 3 up except those in `keep`, so that the
// child holds nothing the test opened (above all, no lock of the test).
void CloseAllBut(std::vector<int> keep) {
  std::sort(keep.begin(), keep.end());
  unsigned first = 3;
  for (int fd : keep) {
    if (fd < 3) continue;
    if (unsigned(fd) > first) ::close_range(first, unsigned(fd) - 1, 0);
    first = unsigned(fd) + 1;
  }
  ::close_range(first, ~0U, 0);
}

}  // namespace

EnvironmentOverride::EnvironmentOverride(const char* name, std::optional<std::string> value)
    : name_(name) {
  if (const char* old = std::getenv(name)) saved_ = old;
  if (value)
    ::setenv(name, value->c_str(), 1);
  else
    ::unsetenv(name);
}

EnvironmentOverride::~EnvironmentOverride() {
  if (saved_)
    ::setenv(name_.c_str(), saved_->c_str(), 1);
  else
    ::unsetenv(name_.c_str());
}

StartGate::StartGate() {
  MakePipe(fds_);
}

StartGate::~StartGate() {
  CloseFd(fds_[0]);
  CloseFd(fds_[1]);
}

void StartGate::Open() {
  CloseFd(fds_[1]);  // Every waiting reader sees the end of the pipe at once.
}

HoldingProcess::HoldingProcess(std::function<char()> body, const StartGate* gate) {
  int answer[2], release[2];
  MakePipe(answer);
  MakePipe(release);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int gateFd = gate ? gate->WaitEnd() : -1;
    CloseAllBut({answer[1], release[0], gateFd});
    char c;
    if (gateFd >= 0) (void)!::read(gateFd, &c, 1);
    const char reply = body();
    (void)!::write(answer[1], &reply, 1);
    (void)!::read(release[0], &c, 1);  // Until the test lets go or ends.
    ::_exit(0);
  }
  ::close(answer[1]);
  ::close(release[0]);
  answer_ = answer[0];
  release_ = release[1];
}

HoldingProcess::~HoldingProcess() {
  if (pid_ > 0) Kill();
  CloseFd(answer_);
  CloseFd(release_);
}

char HoldingProcess::Answer() {
  char c = 0;
  ssize_t n;
  do n = ::read(answer_, &c, 1);
  while (n < 0 && errno == EINTR);
  return n == 1 ? c : 0;
}

int HoldingProcess::LetGo() {
  CloseFd(release_);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void HoldingProcess::Kill() {
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

char TakeRecordLock(const std::string& path, short type) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
  if (fd < 0) return '0';
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_SETLK, &lock) == 0 ? '1' : '0';
}

}  // namespace mutextest
