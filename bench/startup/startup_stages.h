// The moments of a probe's start-up and the one line that reports them:
// "shown" followed by name=milliseconds pairs, counted from the moment the
// benchmark spawned the probe.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pellory::bench {

// The spawn moment (CLOCK_MONOTONIC nanoseconds) handed to the probe.
inline constexpr const char* kSpawnedAtVariable = "PELLORY_PROBE_SPAWNED_NS";

using StageTimes = std::vector<std::pair<std::string, double>>;

// CLOCK_MONOTONIC is one clock for every process of the machine, so the
// probe's marks and the benchmark's spawn moment compare directly.
std::int64_t MonotonicNanoseconds();

class StartupStages {
 public:
  // Counts from the spawn moment in the environment, else from now.
  StartupStages();

  void Mark(const char* name);
  // "shown name=ms ...\n"
  std::string ShownLine() const;

 private:
  std::int64_t originNs_;
  StageTimes marks_;
};

// The probe's one record of its stages.
StartupStages& Stages();

// The stages of a shown line; false when the line is not one.
bool ParseShownLine(const std::string& line, StageTimes* stages);

}  // namespace pellory::bench
