// Processes forked from a test that take a lock and hold it until the test
// lets them go or kills them, and environment variables set for one test.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mutextest {

// Sets (or, with nullopt, removes) an environment variable until the end
// of the scope.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, std::optional<std::string> value);
  ~EnvironmentOverride();
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// Holds any number of processes back until Open(), so that they start the
// next step at the same moment.
class StartGate {
 public:
  StartGate();
  ~StartGate();
  void Open();
  int WaitEnd() const { return fds_[0]; }

 private:
  int fds_[2] = {-1, -1};
};

// A forked process that runs `body`, sends its one-character answer to the
// test, then holds on (keeping whatever `body` opened) until the test lets
// it go or kills it. The child keeps no other descriptor of the test.
class HoldingProcess {
 public:
  explicit HoldingProcess(std::function<char()> body, const StartGate* gate = nullptr);
  ~HoldingProcess();
  HoldingProcess(const HoldingProcess&) = delete;
  HoldingProcess& operator=(const HoldingProcess&) = delete;

  // The child's answer; 0 when it ended without one.
  char Answer();
  // Lets the child end normally and waits for it; answers its exit code.
  int LetGo();
  // Ends the child with SIGKILL and waits for it.
  void Kill();

 private:
  pid_t pid_ = -1;
  int answer_ = -1;
  int release_ = -1;
};

// Takes a lock the way an unrelated program would: a classic whole-file
// POSIX record lock of `type` (F_RDLCK or F_WRLCK) on `path`. Answers '1'
// when held, '0' otherwise; meant as the body of a HoldingProcess.
char TakeRecordLock(const std::string& path, short type);

}  // namespace mutextest
