// bench_font_list: the installed fonts window on the machine's fonts
// against `fc-list : family`, which lists the same families. Each sample is
// a fresh pellory-fonts-window-probe process (first opening, the choices
// "&Printer", "&Both" and "&Screen" in turn, a second opening), run once
// with no kept row heights (a first run on the machine) and once with the
// heights an earlier run kept; the probes and fc-list take turns. Goals:
// the first opening and each choice at most 10 times fc-list, the second
// opening at most twice.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "catalogues.h"
#include "scratch_dir.h"
#include "timed_process.h"

namespace pellory::bench {
namespace {

namespace fs = std::filesystem;

constexpr double kOpenGoal = 10.0;
constexpr double kReopenGoal = 2.0;
const char* const kSteps[] = {"open", "printer", "both", "screen", "reopen"};

int Runs(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) return std::max(1, std::atoi(argv[i + 1]));
  return 9;
}

// Each step's wall-clock and processor times over the samples.
struct Samples {
  std::map<std::string, std::vector<double>> wall, cpu;
  long families = 0;

  void Add(const std::string& output) {
    std::istringstream lines(output);
    std::string step;
    while (lines >> step) {
      if (step == "families") {
        lines >> families;
        continue;
      }
      double ms = 0, cpuMs = 0;
      lines >> ms >> cpuMs;
      wall[step].push_back(ms);
      cpu[step].push_back(cpuMs);
    }
  }
};

void Report(const char* what, Samples& samples, double fcList, bool goals) {
  std::printf("\n%s: %ld families (median ms, wall / processor, and wall / fc-list)\n", what,
              samples.families);
  for (const char* step : kSteps) {
    const double wall = Median(samples.wall[step]);
    std::printf("  %-8s %8.1f %8.1f %7.2f\n", step, wall, Median(samples.cpu[step]), wall / fcList);
    const std::string label =
        std::string("fonts window ") + step + ", " + what + ": time / fc-list : family";
    const bool reopen = std::strcmp(step, "reopen") == 0;
    if (goals || reopen)
      ReportGoal(label, wall / fcList, reopen ? kReopenGoal : kOpenGoal, "");
    else
      ReportMeasurement(label, wall / fcList, "");
  }
}

int Run(int runs) {
  const std::string probe = (BinDirectory() / "pellory-fonts-window-probe").string();
  testkit::ScratchDir scratch("pellory-fonts-bench");
  const fs::path cache = scratch.path() / "cache";
  ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Not counted: fills the page cache with the fonts and the programs.
  RunTimed({"fc-list", ":", "family"});
  RunTimed({probe});
  Samples cold, kept;
  std::vector<double> listings;
  for (int run = 0; run < runs; ++run) {
    fs::remove_all(cache);
    cold.Add(RunTimed({probe}).output);
    listings.push_back(RunTimed({"fc-list", ":", "family"}).milliseconds);
    kept.Add(RunTimed({probe}).output);
    listings.push_back(RunTimed({"fc-list", ":", "family"}).milliseconds);
  }
  const double fcList = Median(listings);
  std::printf("fc-list : family, median of %zu: %.1f ms\n", listings.size(), fcList);
  Report("no kept heights", cold, fcList, true);
  Report("heights kept by an earlier run", kept, fcList, false);
  return 0;
}

}  // namespace
}  // namespace pellory::bench

int main(int argc, char** argv) {
  try {
    return pellory::bench::Run(pellory::bench::Runs(argc, argv));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_font_list: %s\n", error.what());
    return 1;
  }
}
