// bench_startup: the time from starting the program to its main window
// painted with the first catalogue record, against a bare Qt program that
// shows an empty window (and one showing a line of text), on the machine's
// catalogue and on a synthetic one. Every start is a fresh
// pellory-startup-probe process; the modes take turns so that all see the
// same machine. Goal: at most 1.5 times the empty window.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "bench_catalogues.h"
#include "probe_process.h"
#include "scratch_dir.h"

namespace pellory::bench {
namespace {

namespace fs = std::filesystem;

constexpr double kGoalRatio = 1.5;
constexpr int kProbeTimeoutMs = 60'000;

struct Options {
  int runs = 15;
  int syntheticRecords = 100'000;
  bool realDisplay = false;
  std::string only;  // one catalogue by name; empty: both
  fs::path sampleDir;
};

[[noreturn]] void Usage() {
  std::cerr << "usage: bench_startup [--runs N] [--display] [--catalogue sample|synthetic]\n"
               "                     [--sample-dir DIR] [--records N]\n"
               "  --display   use the real display (DISPLAY) instead of the offscreen platform;\n"
               "              also PELLORY_BENCH_DISPLAY=1. --benchmark_* options are ignored.\n";
  std::exit(2);
}

Options ParseArguments(int argc, char** argv) {
  Options options;
  const char* display = std::getenv("PELLORY_BENCH_DISPLAY");
  options.realDisplay = display && std::strcmp(display, "1") == 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--display") {
      options.realDisplay = true;
    } else if (arg == "--runs" && hasValue) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--records" && hasValue) {
      options.syntheticRecords = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--catalogue" && hasValue) {
      options.only = argv[++i];
    } else if (arg == "--sample-dir" && hasValue) {
      options.sampleDir = argv[++i];
    } else if (arg.rfind("--benchmark_", 0) != 0) {  // scripts/bench.sh passes these
      Usage();
    }
  }
  if (!options.only.empty() && options.only != "sample" && options.only != "synthetic") Usage();
  return options;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Every start of one mode: the times to shown and each stage's moments.
struct ModeTimes {
  std::vector<double> shownAfterMs;
  std::vector<std::pair<std::string, std::vector<double>>> stages;

  void Add(const ProbeStart& start) {
    shownAfterMs.push_back(start.shownAfterMs);
    for (const auto& [name, ms] : start.stages) {
      auto found =
          std::find_if(stages.begin(), stages.end(), [&](auto& s) { return s.first == name; });
      if (found == stages.end()) found = stages.insert(stages.end(), {name, {}});
      found->second.push_back(ms);
    }
  }
};

// The probe's modes: the goal's yardstick, a bare window with one line of
// text (the font database that any text costs), the program.
constexpr std::array<const char*, 3> kModes = {"empty", "text", "program"};

using Measurement = std::array<ModeTimes, kModes.size()>;

Measurement MeasureStarts(const fs::path& probe, const EnvironmentChanges& environment, int runs) {
  const auto start = [&](std::size_t mode) {
    return TimeProbeStart({probe.string(), kModes[mode]}, environment, kProbeTimeoutMs);
  };
  // One start of each first, not counted: it fills the file and font caches.
  for (std::size_t mode = 0; mode < kModes.size(); ++mode) start(mode);
  Measurement result;
  for (int run = 0; run < runs; ++run) {
    // The order turns each run, so that no mode always follows another.
    for (std::size_t step = 0; step < kModes.size(); ++step) {
      const std::size_t mode = (static_cast<std::size_t>(run) + step) % kModes.size();
      result[mode].Add(start(mode));
    }
  }
  return result;
}

void PrintMode(const char* name, const ModeTimes& times) {
  const auto [low, high] =
      std::minmax_element(times.shownAfterMs.begin(), times.shownAfterMs.end());
  std::printf("  %-8s %8.1f %8.1f %8.1f   ", name, Median(times.shownAfterMs), *low, *high);
  for (const auto& [stage, values] : times.stages)
    std::printf(" %s %.1f", stage.c_str(), Median(values));
  std::printf("\n");
}

void Report(const BenchCatalogue& catalogue, const Measurement& measured) {
  std::printf("\n%s catalogue (%s)\n", catalogue.name.c_str(), catalogue.directory.c_str());
  std::printf("  %-8s %8s %8s %8s    stages (median ms since the spawn)\n", "mode", "median", "min",
              "max");
  for (std::size_t mode = 0; mode < kModes.size(); ++mode) PrintMode(kModes[mode], measured[mode]);
  const double empty = Median(measured[0].shownAfterMs);
  const double text = Median(measured[1].shownAfterMs);
  const double program = Median(measured[2].shownAfterMs);
  std::printf("  program/empty %.2f (goal at most %.1f: %s); text/empty %.2f, program/text %.2f\n",
              program / empty, kGoalRatio, program / empty <= kGoalRatio ? "met" : "missed",
              text / empty, program / text);
  std::fflush(stdout);
}

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// The catalogue named `name`, built into `scratch` when it is not at hand.
BenchCatalogue PrepareCatalogue(const std::string& name, const Options& options,
                                const fs::path& binDir, const fs::path& scratch) {
  BenchCatalogue catalogue{name, {}, scratch / (name + ".conf")};
  if (name == "sample") {
    catalogue.directory =
        options.sampleDir.empty() ? CatalogueBesideBuild(binDir) : options.sampleDir;
    if (catalogue.directory.empty()) {
      std::printf("building the catalogue of this machine's fonts...\n");
      catalogue.directory = scratch / "sample";
      BuildCatalogue(binDir, {}, catalogue.directory);
    }
  } else {
    catalogue.directory = scratch / "synthetic";
    BuildCatalogue(binDir, {"--synthetic", std::to_string(options.syntheticRecords)},
                   catalogue.directory);
  }
  WriteEngineConfig(catalogue.engineConfig, binDir, catalogue.directory);
  return catalogue;
}

int Run(const Options& options) {
  if (options.realDisplay && !std::getenv("DISPLAY"))
    throw std::runtime_error("--display needs DISPLAY");
  const fs::path binDir = OwnDirectory();
  const fs::path probe = binDir / "pellory-startup-probe";
  const std::string platform = options.realDisplay ? "xcb" : "offscreen";
  testkit::ScratchDir scratch("pellory-startup");
  std::printf("Start-up to the first record shown, against an empty Qt window\n");
  std::printf("platform %s, %d starts a mode, load average %s at the start\n", platform.c_str(),
              options.runs, LoadAverage().c_str());
  for (const std::string name : {"sample", "synthetic"}) {
    if (!options.only.empty() && options.only != name) continue;
    const BenchCatalogue catalogue = PrepareCatalogue(name, options, binDir, scratch.path());
    const EnvironmentChanges environment{
        "QT_QPA_PLATFORM=" + platform, "PELLORY_ENGINE_CONFIG=" + catalogue.engineConfig.string()};
    Report(catalogue, MeasureStarts(probe, environment, options.runs));
  }
  std::printf("\nload average %s at the end\n", LoadAverage().c_str());
  return 0;
}

}  // namespace
}  // namespace pellory::bench

int main(int argc, char** argv) {
  try {
    return pellory::bench::Run(pellory::bench::ParseArguments(argc, argv));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_startup: %s\n", error.what());
    return 1;
  }
}
