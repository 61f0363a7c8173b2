#include "program_copies.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace xtest {

namespace {

// The program, its argument list and its environment, made before any
// fork so that a forked child only has to call exec.
struct Launch {
  explicit Launch(const std::string& display,
                  DisplayNamedBy namedBy = DisplayNamedBy::Environment) {
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
        environment.push_back(entry);
    }
    if (namedBy == DisplayNamedBy::Environment) environment.push_back("DISPLAY=" + display);
    environment.push_back("QT_QPA_PLATFORM=xcb");
    for (auto& s : environment) envp.push_back(s.data());
    envp.push_back(nullptr);
    option = "--display=" + display;
    argv = {program.data(), nullptr};
    if (namedBy == DisplayNamedBy::Option) argv.insert(argv.begin() + 1, option.data());
  }
  std::string program = PELLORY_PROGRAM;
  std::string option;
  std::vector<std::string> environment;
  std::vector<char*> envp;
  std::vector<char*> argv;
};

// In the child: standard output to /dev/null, then the program.
[[noreturn]] void Exec(const Launch& launch) {
  const int null = ::open("/dev/null", O_WRONLY);
  if (null >= 0) ::dup2(null, STDOUT_FILENO);
  ::execve(launch.argv[0], launch.argv.data(), launch.envp.data());
  ::_exit(127);
}

}  // namespace

ProgramCopy::ProgramCopy(const std::string& display, DisplayNamedBy namedBy) {
  const Launch launch(display, namedBy);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) Exec(launch);
}

std::vector<std::unique_ptr<ProgramCopy>> ProgramCopy::StartAtOnce(int count,
                                                                   const std::string& display) {
  const Launch launch(display);
  int gate[2];
  if (::pipe2(gate, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  std::vector<std::unique_ptr<ProgramCopy>> copies;
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<ProgramCopy> copy(new ProgramCopy);
    copy->pid_ = ::fork();
    if (copy->pid_ < 0) throw std::runtime_error("fork failed");
    if (copy->pid_ == 0) {
      ::close(gate[1]);
      char c;
      (void)!::read(gate[0], &c, 1);  // Returns when the test closes the gate.
      Exec(launch);
    }
    copies.push_back(std::move(copy));
  }
  ::close(gate[0]);
  ::close(gate[1]);
  return copies;
}

ProgramCopy::~ProgramCopy() {
  if (!Ended()) Kill();
}

bool ProgramCopy::Ended() {
  if (ended_ || pid_ <= 0) return true;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
  ended_ = true;
  if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  return true;
}

std::optional<int> ProgramCopy::WaitForExit(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!Ended() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return exitCode_;
}

void ProgramCopy::Kill() {
  if (Ended()) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  ended_ = true;
}

}  // namespace xtest
