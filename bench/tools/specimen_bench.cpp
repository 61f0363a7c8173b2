// pellory-specimen on the machine's catalogue with a text set in every face,
// as a fresh process writing a PDF: the whole catalogue and its first 150 or
// so faces (by a name filter), time per face (wall and processor) and peak
// memory (the process's high-water mark), each above a book of no face. The
// time per face should not grow with the book, nor should memory: the book
// is written in parts of a bounded number of faces, each part's fonts let go
// once it is written, and the pages and pictures are streamed, which a book
// of the whole catalogue without a text shows. Every book has its outline,
// contents links and text spans. The first faces' book with their character
// sets (--charset) is reported beside them.
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
  int pages = 0;
  double milliseconds = 0;     // wall
  double cpuMilliseconds = 0;  // user and system
  double peakMB = 0;
};

// One run of the program to its end: wall and processor time, the child's
// own peak resident size, and the faces its summary line counts.
Book MakeBook(const fs::path& catalogue, const std::string& filter, const fs::path& pdf,
              bool withText, const std::vector<std::string>& more = {}) {
  std::vector<std::string> args = {(BinDirectory() / "pellory-specimen").string(), "-o",
                                   pdf.string()};
  if (withText) args.insert(args.end(), {"--text", kText});
  args.insert(args.end(), more.begin(), more.end());
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
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  book.cpuMilliseconds = ms(usage.ru_utime) + ms(usage.ru_stime);
  std::ifstream in(log);
  const std::string err((std::istreambuf_iterator<char>(in)), {});
  std::smatch m;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      !std::regex_search(err, m, std::regex("([0-9]+) pages, ([0-9]+) faces?")))
    throw std::runtime_error("pellory-specimen failed: " + err);
  book.pages = std::stoi(m[1]);
  book.faces = std::stoi(m[2]);
  return book;
}

Book Median(const std::vector<Book>& runs) {
  std::vector<double> ms, cpu, mb;
  for (const Book& b : runs) {
    ms.push_back(b.milliseconds);
    cpu.push_back(b.cpuMilliseconds);
    mb.push_back(b.peakMB);
  }
  return {runs.front().faces, runs.front().pages, pellory::bench::Median(ms),
          pellory::bench::Median(cpu), pellory::bench::Median(mb)};
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
  const fs::path pdf = scratch.path() / "book.pdf";
  const auto measure = [&](const std::string& filter, bool withText = true,
                           const std::vector<std::string>& more = {}) {
    std::vector<Book> books;
    for (int i = 0; i < runs; ++i)
      books.push_back(MakeBook(catalogue, filter, pdf, withText, more));
    return Median(books);
  };
  const std::string firstFaces = FirstFacesFilter(catalogue);
  const Book none = measure("[Font Name] = ''");
  const Book first = measure(firstFaces);
  const Book whole = measure("");
  const Book pictures = measure("", false);
  const Book charsets = measure(firstFaces, true, {"--charset"});
  std::printf("pellory-specimen -o book.pdf on the machine's catalogue, %d runs each\n", runs);
  const auto line = [](const char* what, const Book& b) {
    std::printf("  %-24s %5d faces %6d pages  %8.0f ms wall  %8.0f ms processor  peak %7.1f MB\n",
                what, b.faces, b.pages, b.milliseconds, b.cpuMilliseconds, b.peakMB);
  };
  line("--text, no face", none);
  line("--text, first faces", first);
  line("--text, every face", whole);
  line("pictures, every face", pictures);
  line("--charset, first faces", charsets);
  if (first.faces == 0 || whole.faces <= first.faces)
    throw std::runtime_error("the machine's catalogue has too few faces");
  const auto wallPerFace = [&](const Book& b) {
    return (b.milliseconds - none.milliseconds) / b.faces;
  };
  const auto cpuPerFace = [&](const Book& b) {
    return (b.cpuMilliseconds - none.cpuMilliseconds) / b.faces;
  };
  const auto mbPerFace = [&](const Book& b) { return (b.peakMB - none.peakMB) / b.faces; };
  for (const Book* b : {&first, &whole}) {
    const std::string at = ", " + std::to_string(b->faces) + " faces";
    ReportMeasurement("specimen book with a text, wall time a face" + at, wallPerFace(*b), "ms");
    ReportMeasurement("specimen book with a text, processor time a face" + at, cpuPerFace(*b),
                      "ms");
    ReportMeasurement("specimen book with a text, peak memory" + at, b->peakMB, "MB");
    ReportMeasurement("specimen book with a text, peak memory a face above no face" + at,
                      mbPerFace(*b), "MB");
  }
  const std::string charsetAt = ", " + std::to_string(charsets.faces) + " faces, " +
                                std::to_string(charsets.pages) + " pages";
  ReportMeasurement("specimen book with character sets, wall time a face" + charsetAt,
                    wallPerFace(charsets), "ms");
  ReportMeasurement("specimen book with character sets, processor time a face" + charsetAt,
                    cpuPerFace(charsets), "ms");
  ReportMeasurement("specimen book with character sets, peak memory" + charsetAt, charsets.peakMB,
                    "MB");
  const std::string large = std::to_string(whole.faces) + " faces";
  ReportGoal("specimen book with a text of the machine's catalogue (" + large + "), wall",
             whole.milliseconds / 1000, 20, "s");
  ReportGoal("specimen book with a text, processor time a face: " + large + " / " +
                 std::to_string(first.faces) + " faces",
             cpuPerFace(whole) / cpuPerFace(first), 1.25, "");
  ReportGoal("specimen book with a text, peak memory: " + large + " above " +
                 std::to_string(first.faces) + " faces",
             whole.peakMB - first.peakMB, 40, "MB");
  ReportGoal("specimen book without a text (" + large + "), peak memory above no face",
             pictures.peakMB - none.peakMB, 10, "MB");
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
