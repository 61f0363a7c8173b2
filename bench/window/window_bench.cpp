// bench_window: the main window's category clicks on large catalogues,
// offscreen, each run a fresh pellory-window-probe process.
//  - Click to repaint: the time from the mouse press on a category button
//    to the end of the paint that follows, for the window's first click
//    (Wingdings, whose only records are the last ten, and Handwriting,
//    which has none: both read the whole table) and for the same click
//    once more. Goal on 100,000 records: one 60 Hz frame, 16.7 ms;
//    1,000,000 records are reported. The processor time the probe took is
//    shown beside: on a busy machine the wall-clock time stretches.
//  - Memory: the window's resident memory after two rounds of the nine
//    buttons, beyond the same on the machine's catalogue. Goal: at most
//    5 MB on 100,000 and on 1,000,000 records.
//
//   bench_window [--runs N] [--records N]...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "catalogues.h"
#include "timed_process.h"

namespace pellory::bench {
namespace {

namespace fs = std::filesystem;

constexpr double kFrameMs = 1000.0 / 60;
constexpr double kMemoryGoalMB = 5;

struct ProbeResult {
  std::vector<double> clickMs, clickCpuMs;
  long residentAtStartKiB = 0, residentAfterKiB = 0;
};

ProbeResult RunProbe(const fs::path& config, const std::vector<int>& buttons) {
  std::vector<std::string> command = {"env", "QT_QPA_PLATFORM=offscreen",
                                      "PELLORY_ENGINE_CONFIG=" + config.string(),
                                      (BinDirectory() / "pellory-window-probe").string()};
  for (const int b : buttons) command.push_back(std::to_string(b));
  std::istringstream lines(RunTimed(command).output);
  ProbeResult result;
  std::string word;
  while (lines >> word) {
    if (word == "click") {
      int button = 0;
      double ms = 0, cpu = 0;
      lines >> button >> ms >> cpu;
      result.clickMs.push_back(ms);
      result.clickCpuMs.push_back(cpu);
    } else if (word == "memory") {
      lines >> result.residentAtStartKiB >> result.residentAfterKiB;
    }
  }
  if (result.clickMs.size() != buttons.size())
    throw std::runtime_error("the probe reported " + std::to_string(result.clickMs.size()) +
                             " clicks of " + std::to_string(buttons.size()));
  return result;
}

fs::path ConfigFor(const fs::path& catalogue) {
  const fs::path config = catalogue.string() + ".engine.conf";
  WriteEngineConfig(config, catalogue);
  return config;
}

// The first click of a fresh window and the same click again, `runs` times.
void MeasureClicks(const std::string& what, std::uint32_t records, const fs::path& config,
                   int button, int runs) {
  std::vector<double> first, again, firstCpu;
  for (int run = 0; run < runs; ++run) {
    const ProbeResult r = RunProbe(config, {button, button});
    first.push_back(r.clickMs[0]);
    again.push_back(r.clickMs[1]);
    firstCpu.push_back(r.clickCpuMs[0]);
  }
  const auto [low, high] = std::minmax_element(first.begin(), first.end());
  std::printf(
      "  %-34s first click %7.2f ms (min %.2f, max %.2f; processor %.2f ms), again %7.2f ms\n",
      what.c_str(), Median(first), *low, *high, Median(firstCpu), Median(again));
  const std::string goal =
      what + ", " + std::to_string(records) + " records: click to repaint, first click";
  if (records <= 100000)
    ReportGoal(goal, Median(first), kFrameMs, "ms");
  else
    ReportMeasurement(goal, Median(first), "ms");
}

double ResidentMB(const fs::path& config) {
  const std::vector<int> round = {1, 2, 3, 4, 5, 6, 7, 9, 10};
  std::vector<int> buttons = round;
  buttons.insert(buttons.end(), round.begin(), round.end());
  const ProbeResult r = RunProbe(config, buttons);
  return r.residentAfterKiB / 1024.0;
}

int Run(int runs, const std::vector<std::uint32_t>& sizes) {
  std::printf("main window, offscreen: click to repaint and memory, %d runs a click\n", runs);
  const double machine = ResidentMB(ConfigFor(MachineCatalogue()));
  std::printf("  resident after two rounds of the buttons, machine's catalogue: %.1f MB\n",
              machine);
  for (const std::uint32_t records : sizes) {
    std::printf("%u records (Wingdings only in the last ten, no Handwriting)\n", records);
    const fs::path config = ConfigFor(SyntheticCatalogue(records, CategoryLayout::WingdingsLast));
    MeasureClicks("Wingdings (matches at the end)", records, config, 9, runs);
    MeasureClicks("Handwriting (no match)", records, config, 3, runs);
    const double resident = ResidentMB(config);
    std::printf("  resident after two rounds of the buttons: %.1f MB\n", resident);
    ReportGoal("window memory after the buttons, " + std::to_string(records) +
                   " records, beyond the machine's catalogue",
               resident - machine, kMemoryGoalMB, "MB");
  }
  return 0;
}

}  // namespace
}  // namespace pellory::bench

int main(int argc, char** argv) {
  int runs = 7;
  std::vector<std::uint32_t> sizes;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--records") == 0)
      sizes.push_back(static_cast<std::uint32_t>(std::atol(argv[i + 1])));
  }
  if (sizes.empty()) sizes = {100000, 1000000};
  try {
    return pellory::bench::Run(runs, sizes);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_window: %s\n", error.what());
    return 1;
  }
}
