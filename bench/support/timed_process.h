// Runs a program as a fresh process to its end, timed from the spawn to its
// exit, with its standard output kept.
#pragma once

#include <string>
#include <vector>

namespace pellory::bench {

struct TimedRun {
  double milliseconds = 0;
  std::string output;        // standard output
  double peakMegabytes = 0;  // the program's largest resident set
  // User and system time on every core: what a busy machine does not
  // stretch, unlike `milliseconds`.
  double processorMilliseconds = 0;
};

// Raises std::runtime_error when the program cannot start or exits non-zero
// (with its error output in the message).
TimedRun RunTimed(const std::vector<std::string>& command);

}  // namespace pellory::bench
