// One line per goal a benchmark measures, in a form scripts/bench.sh gathers
// into the summary table at the end of `make bench`:
//   goal | what was measured | value | limit | met
#pragma once

#include <string>
#include <vector>

namespace pellory::bench {

// Prints the goal line for `value` against `limit` (met when value <= limit)
// and answers whether it was met. `unit` follows both numbers ("" for a
// ratio, "ms", "MB").
bool ReportGoal(const std::string& what, double value, double limit, const std::string& unit);

// Prints a line for a figure that is reported without a goal.
void ReportMeasurement(const std::string& what, double value, const std::string& unit);

// The median of the samples (empty: 0).
double Median(std::vector<double> samples);

}  // namespace pellory::bench
