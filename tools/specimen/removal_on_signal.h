// The one temporary file a signal must not leave behind: SIGINT, SIGTERM
// and SIGHUP remove it, then end the process by the same signal. The
// handler is the process's own, installed once on first use.
#pragma once

#include <string>

namespace pellory::specimen {

// From now on a signal removes `path` (a path too long to keep is not
// watched). One file at a time: a later call replaces it.
void RemoveOnSignal(const std::string& path);
// No file to remove any more.
void ForgetOnSignal();

}  // namespace pellory::specimen
