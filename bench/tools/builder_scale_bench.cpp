// The catalogue builder on the machine's fonts against fontconfig's own
// scanner reading the same files: `pellory-mkcatalogue` (every face read,
// classified, its sample shaped and drawn, the table written) beside
// `fc-scan` on every file `fc-list` names. Both count each named instance
// of a variable font as a face. Goal: at most 3 times fc-scan; the
// builder's peak memory is reported beside the face count.
#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "scratch_dir.h"
#include "timed_process.h"

namespace {

std::vector<std::string> FontFiles() {
  std::istringstream lines(pellory::bench::RunTimed({"fc-list", "--format", "%{file}\n"}).output);
  std::vector<std::string> files;
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) files.push_back(line);
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pellory::bench;
  const std::string builder = argc > 1 ? argv[1] : "pellory-mkcatalogue";
  const int runs = argc > 2 ? std::stoi(argv[2]) : 3;
  try {
    pellory::testkit::ScratchDir scratch("pellory-bench");
    const std::vector<std::string> files = FontFiles();
    // One line a face; fc-scan's entry for a variable font as a whole reads
    // "True" and is no face.
    std::vector<std::string> scan{"fc-scan", "--format", "%{variable}\n"};
    scan.insert(scan.end(), files.begin(), files.end());
    const std::vector<std::string> build{builder, "--quiet", "--report",
                                         (scratch.path() / "catalogue").string()};
    std::vector<double> scanTimes, buildTimes, peaks;
    std::size_t faces = 0, scanned = 0;
    for (int i = 0; i < runs; ++i) {  // taking turns, so both see the same cache
      const TimedRun scanRun = RunTimed(scan);
      scanTimes.push_back(scanRun.milliseconds);
      std::istringstream lines(scanRun.output);
      scanned = 0;
      for (std::string line; std::getline(lines, line);) scanned += line != "True";
      const TimedRun run = RunTimed(build);
      buildTimes.push_back(run.milliseconds);
      peaks.push_back(run.peakMegabytes);
      faces = static_cast<std::size_t>(std::count(run.output.begin(), run.output.end(), '\n'));
    }
    const double scanMs = Median(scanTimes), buildMs = Median(buildTimes);
    std::cout << "font files " << files.size() << ", faces fc-scan finds " << scanned
              << ", faces in the catalogue " << faces << '\n';
    ReportMeasurement("fc-scan of the machine's " + std::to_string(files.size()) + " font files (" +
                          std::to_string(scanned) + " faces)",
                      scanMs, "ms");
    ReportMeasurement("pellory-mkcatalogue of them (" + std::to_string(faces) + " faces)", buildMs,
                      "ms");
    ReportMeasurement("pellory-mkcatalogue peak memory",
                      *std::max_element(peaks.begin(), peaks.end()), "MB");
    const bool met =
        ReportGoal("pellory-mkcatalogue / fc-scan, same files", buildMs / scanMs, 3.0, "");
    return met ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "bench_builder_scale: " << e.what() << '\n';
    return 1;
  }
}
