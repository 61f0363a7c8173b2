// The catalogue builder on the machine's fonts against fontconfig's own
// scanner reading the same files: `pellory-mkcatalogue` (every face read,
// classified, its sample shaped and drawn, the table written) beside
// `fc-scan` on every file `fc-list` names. Both count each named instance
// of a variable font as a face. Then `pellory-mkcatalogue --update` after
// one font is added to the machine: the catalogue built without that font
// (a fontconfig configuration of the machine's that rejects its file), then
// updated with the machine's configuration. Goals: a full build at most 1.5
// times fc-scan; the update at most 0.1 times a full build. The builder's
// peak memory is reported beside the face count, and each program's
// processor time beside its wall-clock time.
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "scratch_dir.h"
#include "timed_process.h"

namespace {

namespace fs = std::filesystem;
using pellory::bench::RunTimed;

std::vector<std::string> Lines(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> FontFiles() {
  std::vector<std::string> files = Lines(RunTimed({"fc-list", "--format", "%{file}\n"}).output);
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

// A font file of one face, TrueType or OpenType, from the middle of the
// list: the font "added".
std::string OneFaceFile() {
  std::map<std::string, int> faces;
  for (const std::string& line : Lines(RunTimed({"fc-list", "--format", "%{file}\n"}).output))
    ++faces[line];
  std::vector<std::string> single;
  for (const auto& [file, count] : faces) {
    const std::string ext = fs::path(file).extension().string();
    if (count == 1 && (ext == ".ttf" || ext == ".otf")) single.push_back(file);
  }
  if (single.empty()) throw std::runtime_error("no font file of one face installed");
  return single[single.size() / 2];
}

// The machine's fontconfig configuration without `file`.
fs::path ConfigurationWithout(const fs::path& dir, const std::string& file) {
  const fs::path config = dir / "without.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                           "\"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n"
                        << "  <include ignore_missing=\"no\">/etc/fonts/fonts.conf</include>\n"
                        << "  <selectfont><rejectfont><glob>" << file
                        << "</glob></rejectfont></selectfont>\n</fontconfig>\n";
  return config;
}

// Runs with FONTCONFIG_FILE naming `config`, untimed.
void RunWith(const fs::path& config, const std::vector<std::string>& command) {
  setenv("FONTCONFIG_FILE", config.c_str(), 1);
  try {
    RunTimed(command);
  } catch (...) {
    unsetenv("FONTCONFIG_FILE");
    throw;
  }
  unsetenv("FONTCONFIG_FILE");
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
    const std::string full = (scratch.path() / "catalogue").string();
    const std::string updated = (scratch.path() / "updated").string();
    const std::string added = OneFaceFile();
    const fs::path without = ConfigurationWithout(scratch.path(), added);
    RunWith(without, {builder, "--quiet", updated});
    std::vector<double> scanTimes, buildTimes, updateTimes, peaks;
    std::vector<double> scanCpu, buildCpu, updateCpu;
    std::size_t faces = 0, scanned = 0;
    std::string fullReport, updateReport;
    for (int i = 0; i < runs; ++i) {  // taking turns, so all see the same cache
      const TimedRun scanRun = RunTimed(scan);
      scanTimes.push_back(scanRun.milliseconds);
      scanCpu.push_back(scanRun.processorMilliseconds);
      scanned = 0;
      for (const std::string& line : Lines(scanRun.output)) scanned += line != "True";
      const TimedRun run = RunTimed({builder, "--quiet", "--report", full});
      buildTimes.push_back(run.milliseconds);
      buildCpu.push_back(run.processorMilliseconds);
      peaks.push_back(run.peakMegabytes);
      faces = Lines(run.output).size();
      fullReport = run.output;
      const TimedRun update = RunTimed({builder, "--quiet", "--report", "--update", updated});
      updateTimes.push_back(update.milliseconds);
      updateCpu.push_back(update.processorMilliseconds);
      updateReport = update.output;
      RunWith(without, {builder, "--quiet", "--update", updated});  // the font taken away again
    }
    const double scanMs = Median(scanTimes), buildMs = Median(buildTimes);
    const double updateMs = Median(updateTimes);
    std::cout << "font files " << files.size() << ", faces fc-scan finds " << scanned
              << ", faces in the catalogue " << faces << "; the font added: " << added << '\n';
    if (updateReport != fullReport) {
      std::cerr << "bench_builder_scale: the update's records are not the full build's\n";
      return 1;
    }
    ReportMeasurement("fc-scan of the machine's " + std::to_string(files.size()) + " font files (" +
                          std::to_string(scanned) + " faces)",
                      scanMs, "ms");
    ReportMeasurement("pellory-mkcatalogue of them (" + std::to_string(faces) + " faces)", buildMs,
                      "ms");
    ReportMeasurement("pellory-mkcatalogue --update, one font added", updateMs, "ms");
    // Processor time beside the goals, which are wall-clock: others' work
    // on the machine stretches the wall-clock time of a build that uses
    // every core more than that of fc-scan, which uses one.
    ReportMeasurement("processor time: fc-scan", Median(scanCpu), "ms");
    ReportMeasurement("processor time: pellory-mkcatalogue", Median(buildCpu), "ms");
    ReportMeasurement("processor time: pellory-mkcatalogue --update", Median(updateCpu), "ms");
    ReportMeasurement("pellory-mkcatalogue peak memory",
                      *std::max_element(peaks.begin(), peaks.end()), "MB");
    const bool fullMet =
        ReportGoal("pellory-mkcatalogue / fc-scan, same files", buildMs / scanMs, 1.5, "");
    const bool updateMet = ReportGoal("pellory-mkcatalogue --update, one font added / a full build",
                                      updateMs / buildMs, 0.1, "");
    return fullMet && updateMet ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "bench_builder_scale: " << e.what() << '\n';
    return 1;
  }
}
