// Runs the probe as a fresh process, timed from its spawn to its shown line.
#pragma once

#include <string>
#include <vector>

#include "startup_stages.h"

namespace pellory::bench {

struct ProbeStart {
  double shownAfterMs = 0;  // from the spawn to the shown line's arrival
  StageTimes stages;        // as the probe reported them
};

// "NAME=value" entries that replace or add to this process's environment.
using EnvironmentChanges = std::vector<std::string>;

// Spawns `command` and waits up to `timeoutMs` for its shown line; raises
// std::runtime_error naming what went wrong (no line, bad line, timeout).
ProbeStart TimeProbeStart(const std::vector<std::string>& command,
                          const EnvironmentChanges& changes, int timeoutMs);

}  // namespace pellory::bench
