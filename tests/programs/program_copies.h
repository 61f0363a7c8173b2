// Copies of the real program started on an X display, as a user starts
// them: no arguments, in the environment of the test (its catalogue's
// engine configuration and runtime directory).
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xtest {

// How a copy is told its display: by DISPLAY, or with DISPLAY unset by the
// option --display=NAME.
enum class DisplayNamedBy { Environment, Option };

class ProgramCopy {
 public:
  // Starts the program on `display`.
  explicit ProgramCopy(const std::string& display,
                       DisplayNamedBy namedBy = DisplayNamedBy::Environment);
  ~ProgramCopy();  // Kills the copy if it still runs.
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;

  // `count` copies that all start at the same moment: each is forked and
  // held back until every one exists, then all run the program at once.
  static std::vector<std::unique_ptr<ProgramCopy>> StartAtOnce(int count,
                                                               const std::string& display);

  pid_t Pid() const { return pid_; }
  // Whether it has ended; collects its exit status when it has.
  bool Ended();
  // Waits up to `timeoutMs` for the end; answers the exit code, or
  // nothing when it is still running or did not exit by itself.
  std::optional<int> WaitForExit(int timeoutMs);
  std::optional<int> ExitCode() const { return exitCode_; }
  void Kill();

 private:
  ProgramCopy() = default;

  pid_t pid_ = -1;
  bool ended_ = false;
  std::optional<int> exitCode_;
};

}  // namespace xtest
