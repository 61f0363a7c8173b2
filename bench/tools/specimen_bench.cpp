// pellory-specimen on the machine's catalogue with a text set in every face,
// as a fresh process writing a PDF: the whole catalogue and its first 150 or
// so faces (by a name filter), time per face and peak memory (the process's
// high-water mark), and the memory above a book of no face at all, per face.
// The time per face should not grow with the book, nor the memory per face.
//
//   bench_specimen [--runs N]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "catalogues.h"
#include "scratch_dir.h"
#include "timed_process.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace pellory::bench;

const char* kText =
    "Sphinx of black quartz, judge my vow. \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 "
    "\xD0\x96\xD1\x83\xD0\xBA \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xE6\xBC\xA2\xE5\xAD\x97";

struct Book {
  int faces = 0;
  double milliseconds = 0;
  double peakMB = 0;
};

// One run of the program to its end: wall time, the child's own peak
// resident size, and the faces its summary line counts.
Book MakeBook(const fs::path& catalogue, const std::string& filter, const fs::path& pdf) {
  std::vector<std::string> args = {(BinDirectory() / "pellory-specimen").string(), "--text", kText,
                                   "-o", pdf.string()};
  if (!filter.empty()) args.insert(args.end(), {"--filter", filter});
  args.push_back(catalogue.string());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const fs::path log = pdf.string() + ".log";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start pellory-specimen");
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  Book book;
  book.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  book.peakMB = usage.ru_maxrss / 1024.0;
  std::ifstream in(log);
  const std::string err((std::istreambuf_iterator<char>(in)), {});
  std::smatch m;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      !std::regex_search(err, m, std::regex("pages, ([0-9]+) faces")))
    throw std::runtime_error("pellory-specimen failed: " + err);
  book.faces = std::stoi(m[1]);
  return book;
}

Book Median(const std::vector<Book>& runs) {
  std::vector<double> ms, mb;
  for (const Book& b : runs) {
    ms.push_back(b.milliseconds);
    mb.push_back(b.peakMB);
  }
  return {runs.front().faces, pellory::bench::Median(ms), pellory::bench::Median(mb)};
}

// A filter that keeps the faces whose names sort before the 151st name
// without a quote, in the catalogue's order: about 150 faces.
std::string FirstFacesFilter(const fs::path& catalogue) {
  const std::string csv = RunTimed({(BinDirectory() / "catdump").string(), "--password",
                                    kCataloguePassword, catalogue.string(), "pelloryfont"})
                              .output;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  for (int n = 0; std::getline(lines, line); ++n) {
    const std::string name = line.substr(0, line.find(','));
    if (n >= 150 && name.find_first_of("'\"") == std::string::npos)
      return "[Font Name] < '" + name + "'";
  }
  return {};
}

int Run(int runs) {
  const fs::path catalogue = MachineCatalogue();
  pellory::testkit::ScratchDir scratch("pellory-bench");
  const auto measure = [&](const std::string& filter) {
    std::vector<Book> books;
    for (int i = 0; i < runs; ++i)
      books.push_back(MakeBook(catalogue, filter, scratch.path() / "book.pdf"));
    return Median(books);
  };
  const Book none = measure("[Font Name] = ''");
  const Book first = measure(FirstFacesFilter(catalogue));
  const Book whole = measure("");
  std::printf("pellory-specimen --text ... -o book.pdf on the machine's catalogue, %d runs each\n",
              runs);
  for (const Book* b : {&none, &first, &whole})
    std::printf("  %5d faces  %9.0f ms  %7.2f ms a face  peak %7.1f MB\n", b->faces,
                b->milliseconds, b->faces ? b->milliseconds / b->faces : 0.0, b->peakMB);
  if (first.faces == 0 || whole.faces <= first.faces)
    throw std::runtime_error("the machine's catalogue has too few faces");
  const auto perFace = [&](const Book& b) {
    return (b.milliseconds - none.milliseconds) / b.faces;
  };
  const auto mbPerFace = [&](const Book& b) { return (b.peakMB - none.peakMB) / b.faces; };
  const std::string small = std::to_string(first.faces) + " faces";
  const std::string large = std::to_string(whole.faces) + " faces";
  ReportMeasurement("specimen book, time a face, " + small, perFace(first), "ms");
  ReportMeasurement("specimen book, time a face, " + large, perFace(whole), "ms");
  ReportMeasurement("specimen book, peak memory, " + small, first.peakMB, "MB");
  ReportMeasurement("specimen book, peak memory, " + large, whole.peakMB, "MB");
  ReportGoal("specimen book of the machine's catalogue (" + large + ") with a text",
             whole.milliseconds / 1000, 20, "s");
  ReportGoal("specimen book, time a face: " + large + " / " + small,
             perFace(whole) / perFace(first), 1.25, "");
  ReportGoal("specimen book, memory a face above no face: " + large + " / " + small,
             mbPerFace(whole) / mbPerFace(first), 1.25, "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 1;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  try {
    return Run(runs);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_specimen: %s\n", error.what());
    return 1;
  }
}
