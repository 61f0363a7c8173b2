#include "startup_stages.h"

#include <time.h>

#include <charconv>
#include <cstdlib>
#include <sstream>

namespace pellory::bench {

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

StartupStages::StartupStages() : originNs_(MonotonicNanoseconds()) {
  const char* spawned = std::getenv(kSpawnedAtVariable);
  if (!spawned) return;
  std::int64_t value = 0;
  const char* end = spawned + std::char_traits<char>::length(spawned);
  if (std::from_chars(spawned, end, value).ptr == end) originNs_ = value;
}

void StartupStages::Mark(const char* name) {
  marks_.emplace_back(name, static_cast<double>(MonotonicNanoseconds() - originNs_) / 1e6);
}

std::string StartupStages::ShownLine() const {
  std::ostringstream line;
  line << "shown";
  for (const auto& [name, ms] : marks_) line << ' ' << name << '=' << ms;
  line << '\n';
  return line.str();
}

StartupStages& Stages() {
  static StartupStages stages;
  return stages;
}

bool ParseShownLine(const std::string& line, StageTimes* stages) {
  std::istringstream words(line);
  std::string word;
  if (!(words >> word) || word != "shown") return false;
  stages->clear();
  while (words >> word) {
    const auto equals = word.find('=');
    if (equals == std::string::npos) return false;
    stages->emplace_back(word.substr(0, equals), std::stod(word.substr(equals + 1)));
  }
  return true;
}

}  // namespace pellory::bench
