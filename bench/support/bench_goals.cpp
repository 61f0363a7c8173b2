#include "bench_goals.h"

#include <algorithm>
#include <cstdio>

namespace pellory::bench {

bool ReportGoal(const std::string& what, double value, double limit, const std::string& unit) {
  const bool met = value <= limit;
  const char* space = unit.empty() ? "" : " ";
  std::printf("goal | %s | %.2f%s%s | at most %.2f%s%s | %s\n", what.c_str(), value, space,
              unit.c_str(), limit, space, unit.c_str(), met ? "met" : "MISSED");
  std::fflush(stdout);
  return met;
}

void ReportMeasurement(const std::string& what, double value, const std::string& unit) {
  std::printf("goal | %s | %.2f%s%s | reported | -\n", what.c_str(), value, unit.empty() ? "" : " ",
              unit.c_str());
  std::fflush(stdout);
}

double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

}  // namespace pellory::bench
