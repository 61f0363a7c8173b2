#include "book_fixture.h"

#include <unistd.h>

#include <regex>
#include <sstream>

#include "book_reading.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::ProgramRun;
using testkit::RunProgram;

const char* kCopied = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

bool HasPoppler() {
  return ::access("/usr/bin/pdftotext", X_OK) == 0 && ::access("/usr/bin/pdfinfo", X_OK) == 0 &&
         ::access("/usr/bin/pdffonts", X_OK) == 0;
}

// pdftotext puts RIGHT-TO-LEFT EMBEDDING and POP DIRECTIONAL FORMATTING
// around the right-to-left words it finds; they are its, not the book's.
std::string WithoutDirectionMarks(std::string text) {
  for (const char* mark : {"\xE2\x80\xAB", "\xE2\x80\xAC"})
    for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.erase(at, 3);
  return text;
}

}  // namespace

std::unique_ptr<testkit::ScratchDir> SpecimenBook::scratch_;

std::size_t Occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

void SpecimenBook::SetUpTestSuite() {
  if (!HasPoppler()) return;
  for (const char* font : kBookFonts)
    if (!fs::exists(font)) return;
  if (!fs::exists(kCopied)) return;
  scratch_ = std::make_unique<testkit::ScratchDir>("pellory-specimen");
  const fs::path fonts = scratch_->path() / "fonts";
  fs::create_directories(fonts);
  for (const char* font : kBookFonts) fs::create_symlink(font, fonts / fs::path(font).filename());
  fs::copy_file(kCopied, fonts / "MonoCopy.ttf");
  const ProgramRun built = RunProgram(
      {PELLORY_MKCATALOGUE, "--quiet", "--fonts-dir", fonts.string(), Catalogue().string()});
  if (built.exitCode != 0) ADD_FAILURE() << built.err;
}

void SpecimenBook::SetUp() {
  if (!HasPoppler())
    GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo, pdffonts) is not installed";
  if (!scratch_) GTEST_SKIP() << "the sample fonts are not all installed";
}

ProgramRun SpecimenBook::Specimen(std::vector<std::string> args) {
  std::string book;
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "-o") book = args[i + 1];
  args.insert(args.begin(), PELLORY_SPECIMEN);
  args.push_back(Catalogue().string());
  const ProgramRun run = RunProgram(args);
  if (run.exitCode == 0 && !book.empty()) {
    EXPECT_EQ(testkit::QpdfProblems(book), "") << book;
  }
  return run;
}

std::string SpecimenBook::Tool(const std::vector<std::string>& command) {
  const ProgramRun run = RunProgram(command);
  EXPECT_EQ(run.exitCode, 0) << command[0] << ": " << run.err;
  return run.out;
}

int SpecimenBook::Pages(const fs::path& pdf) {
  std::smatch m;
  const std::string info = Tool({"/usr/bin/pdfinfo", pdf.string()});
  return std::regex_search(info, m, std::regex("Pages: +([0-9]+)")) ? std::stoi(m[1]) : -1;
}

std::string SpecimenBook::Text(const fs::path& pdf, int page, bool layout) {
  std::vector<std::string> command = {"/usr/bin/pdftotext"};
  if (layout) command.push_back("-layout");
  if (page) command.insert(command.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
  command.insert(command.end(), {pdf.string(), "-"});
  return WithoutDirectionMarks(Tool(command));
}

std::set<std::string> SpecimenBook::EmbeddedFonts(const fs::path& pdf) {
  std::istringstream lines(Tool({"/usr/bin/pdffonts", pdf.string()}));
  std::set<std::string> names;
  const std::regex row("^(\\S+) .* (yes|no) +(yes|no) +(yes|no) +[0-9]+ +[0-9]+$");
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, row) || m[2] != "yes") continue;
    std::string name = m[1];
    if (name.size() > 7 && name[6] == '+') name = name.substr(7);  // a subset's tag
    names.insert(name);
  }
  return names;
}

std::vector<std::string> SpecimenBook::CatalogueNames(const std::string& filter) {
  std::istringstream lines(Tool({PELLORY_CATDUMP, "--password", "mirabo", "--filter", filter,
                                 Catalogue().string(), "pelloryfont"}));
  std::vector<std::string> names;
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) names.push_back(line.substr(0, line.find(',')));
  return names;
}

}  // namespace pellory::specimen
