// Runs a program to its end with its output kept: standard output and
// standard error apart, the exit code or the signal that ended it. A run can
// be stopped by a signal once its standard error shows a given text.
#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace pellory::testkit {

struct ProgramRun {
  int exitCode = -1;  // -1 when a signal ended it
  int signal = 0;
  std::string out;
  std::string err;
};

struct StopWhen {
  std::string errorText;  // empty: never stop it
  int signal = SIGTERM;
};

// `fileSizeLimit` (bytes, when not negative) caps every file the program
// writes, as a full disk would: a write past it fails with EFBIG.
ProgramRun RunProgram(const std::vector<std::string>& command, const StopWhen& stop = {},
                      long long fileSizeLimit = -1);

}  // namespace pellory::testkit
