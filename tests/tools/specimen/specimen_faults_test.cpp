// pellory-specimen given bad input: each refusal with its message and exit
// code, the sound behaviour where there is one (output through links, long
// names, long selections and texts), a full disk at each level of writing,
// and installed files damaged or replaced behind fontconfig's back.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "book_reading.h"
#include "program_run.h"
#include "scratch_dir.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::ProgramRun;
using testkit::RunProgram;
using testkit::ScratchDir;

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string PdfText(const fs::path& pdf, int page = 0) {
  std::vector<std::string> command = {"/usr/bin/pdftotext", "-layout"};
  if (page) command.insert(command.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
  command.insert(command.end(), {pdf.string(), "-"});
  return RunProgram(command).out;
}

// A catalogue of synthetic records (no face installed): books of pictures
// and notes, quick to make.
class SpecimenFaults : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = std::make_unique<ScratchDir>("pellory-specimen");
    const ProgramRun built =
        RunProgram({PELLORY_MKCATALOGUE, "--quiet", "--synthetic", "12", Catalogue().string()});
    if (built.exitCode != 0) ADD_FAILURE() << built.err;
  }
  static void TearDownTestSuite() { scratch_.reset(); }
  static fs::path Catalogue() { return scratch_->path() / "catalogue"; }
  static fs::path Dir() { return scratch_->path(); }

  // A book it wrote (-o) must open in libqpdf without a warning.
  static ProgramRun Specimen(std::vector<std::string> args, long long fileSizeLimit = -1) {
    std::string book;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
      if (args[i] == "-o") book = args[i + 1];
    args.insert(args.begin(), PELLORY_SPECIMEN);
    args.push_back(Catalogue().string());
    const ProgramRun run = RunProgram(args, {}, fileSizeLimit);
    if (run.exitCode == 0 && !book.empty()) {
      EXPECT_EQ(testkit::QpdfProblems(book), "") << book;
    }
    return run;
  }

  static std::unique_ptr<ScratchDir> scratch_;
};
std::unique_ptr<ScratchDir> SpecimenFaults::scratch_;

// Every refusal is one line naming what was wrong, a usage line after a
// wrong command line, and its exit code; no file is left behind.
TEST_F(SpecimenFaults, BadInputsEachWithItsMessageAndExitCode) {
  const std::string book = (Dir() / "refused.pdf").string();
  fs::create_directories(Dir() / "a-folder");
  // The book in parts of one face each, unlimited: a limit just below its
  // size lets every part be written and fails the joining.
  ::setenv("PELLORY_SPECIMEN_FACES_PER_PART", "1", 1);
  ASSERT_EQ(Specimen({"--quiet", "--text", "Hamburg", "-o", book}).exitCode, 0);
  const auto whole = static_cast<long long>(fs::file_size(book));
  fs::remove(book);
  const std::string notRegular = ", not a regular file; -o takes a regular file or a new name\n";
  const std::string sizes =
      "pellory-specimen: --sizes takes point sizes from 1 to 200, such as 9,12,18\n";
  const std::string full = "pellory-specimen: cannot write " + book + ": File too large\n";
  const struct {
    std::vector<std::string> args;
    long long fileSizeLimit;
    int exitCode;
    std::string message;  // the first line of standard error
  } cases[] = {
      {{"--sizes", "nan", "-o", book}, -1, 2, sizes},
      {{"--sizes", "9,inf", "-o", book}, -1, 2, sizes},
      {{"--text", "Gr\xFC\xDF", "-o", book},
       -1,
       2,
       "pellory-specimen: --text is not valid UTF-8\n"},
      {{"--print", "--printer", "Office/"},
       -1,
       2,
       "pellory-specimen: --printer needs a queue name, or QUEUE/INSTANCE\n"},
      {{"-o", "/dev/null"},
       -1,
       3,
       "pellory-specimen: cannot write /dev/null: a character device" + notRegular},
      {{"-o", (Dir() / "a-folder").string()},
       -1,
       3,
       "pellory-specimen: cannot write " + (Dir() / "a-folder").string() + ": a directory" +
           notRegular},
      // A full disk in the first part, in a later one (which a partial write
      // once made "Unknown error"), and while the parts are joined.
      {{"--quiet", "--text", "Hamburg", "-o", book}, 1024, 3, full},
      {{"--quiet", "--text", "Hamburg", "-o", book}, 30 * 1024, 3, full},
      {{"--quiet", "--text", "Hamburg", "-o", book}, whole - 1024, 3, full},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Specimen(c.args, c.fileSizeLimit);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.message << run.err;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), c.message);
    EXPECT_EQ(run.err.find("usage: pellory-specimen") != std::string::npos, c.exitCode == 2)
        << run.err;
    EXPECT_FALSE(fs::exists(book)) << c.message;
    EXPECT_TRUE(fs::is_empty(Dir() / "a-folder"));
  }
  ::unsetenv("PELLORY_SPECIMEN_FACES_PER_PART");
  struct stat null {};
  ASSERT_EQ(::stat("/dev/null", &null), 0);
  EXPECT_TRUE(S_ISCHR(null.st_mode));
}

// A link is followed to its file, which keeps its mode; a file name as long
// as the file system takes is written.
TEST_F(SpecimenFaults, OutputThroughLinksKeepsModeAndTakesLongNames) {
  const fs::path out = Dir() / "out";
  fs::create_directories(out / "books");
  std::ofstream(out / "books" / "private.pdf") << "old";
  ::chmod((out / "books" / "private.pdf").c_str(), 0600);
  fs::create_symlink("books/private.pdf", out / "link.pdf");
  ASSERT_EQ(Specimen({"--quiet", "-o", (out / "link.pdf").string()}).exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(out / "link.pdf"));
  EXPECT_EQ(Slurp(out / "books" / "private.pdf").rfind("%PDF-", 0), 0u);
  EXPECT_EQ(fs::status(out / "books" / "private.pdf").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  const fs::path longName = out / (std::string(250, 'n') + ".pdf");
  const ProgramRun run = Specimen({"--quiet", "-o", longName.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Slurp(longName).rfind("%PDF-", 0), 0u);
  std::size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(out)) entries += entry.exists();
  EXPECT_EQ(entries, 3u);  // books/, link.pdf and the long name: no partial file left
}

// A long selection gives way to the footer's page number, and a long text
// to the title page's other facts.
TEST_F(SpecimenFaults, LongSelectionAndTextAreShortenedToFit) {
  const fs::path book = Dir() / "long.pdf";
  const std::string filter = "[Font Name] <> '" + std::string(400, 'x') + "'";
  std::string text;
  for (int i = 0; i < 300; ++i) text += "Sphinx of black quartz, judge my vow. ";
  const ProgramRun run =
      Specimen({"--quiet", "--filter", filter, "--text", text, "-o", book.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string title = PdfText(book, 1);
  for (const char* fact : {"Catalogue", "Selection", "Text", "Date ", "Faces "})
    EXPECT_NE(title.find(fact), std::string::npos) << fact << " in\n" << title;
  EXPECT_NE(title.find("\xE2\x80\xA6"), std::string::npos) << title;  // an ellipsis
  const std::string contents = PdfText(book, 2);
  EXPECT_NE(contents.find("x\xE2\x80\xA6"), std::string::npos) << contents;
  EXPECT_NE(contents.find("Page 2 of "), std::string::npos) << contents;
}

// Fontconfig's cache still names a file that has since been damaged or
// replaced by another face in place. The block says so, the summary counts
// it, and no text is set from any other file of the same names.
TEST(SpecimenFileFaults, DamagedOrReplacedFileIsNotedAndNeverSetFromAnother) {
  const char* serif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
  const char* sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!fs::exists(serif) || !fs::exists(sans) || !fs::exists("/etc/fonts/fonts.conf"))
    GTEST_SKIP() << "fonts-dejavu-core and fontconfig are not installed";
  ScratchDir scratch("pellory-specimen");
  const fs::path fonts = scratch.path() / "fonts";
  fs::create_directories(fonts);
  fs::copy_file(serif, fonts / "Victim.ttf");
  // This configuration's own cache comes first, so that only it is written.
  const fs::path config = scratch.path() / "fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                        << "<fontconfig>\n  <cachedir>" << (scratch.path() / "cache").string()
                        << "</cachedir>\n  <include>/etc/fonts/fonts.conf</include>\n  <dir>"
                        << fonts.string() << "</dir>\n</fontconfig>\n";
  ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
  const fs::path catalogue = scratch.path() / "catalogue";
  ASSERT_EQ(RunProgram(
                {PELLORY_MKCATALOGUE, "--quiet", "--fonts-dir", fonts.string(), catalogue.string()})
                .exitCode,
            0);
  const fs::path book = scratch.path() / "book.pdf";
  const auto make = [&] {
    return RunProgram(
        {PELLORY_SPECIMEN, "--text", "Hamburg", "-o", book.string(), catalogue.string()});
  };
  ProgramRun run = make();  // fontconfig caches the intact file
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_NE(PdfText(book).find("Covers all 7 characters of the text."), std::string::npos);

  const std::string intact = Slurp(serif);
  const struct {
    std::string content;
    std::string note;
  } cases[] = {
      {intact.substr(0, 30000),
       "The installed file is damaged: FreeType cannot read it: unknown file format; the sample "
       "picture only."},
      {Slurp(sans),
       "The installed file is not the face the catalogue names: it holds 6253 glyphs "
       "(TrueType), the catalogue's face 3528 (TrueType); the sample picture only."},
  };
  for (const auto& c : cases) {
    // Rewritten in place: the folder, whose time fontconfig checks, is unchanged.
    std::ofstream(fonts / "Victim.ttf", std::ios::binary | std::ios::trunc) << c.content;
    run = make();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(testkit::QpdfProblems(book), "");
    EXPECT_NE(run.err.find(": 3 pages, 1 face (1 with a damaged or other installed file)\n"),
              std::string::npos)
        << run.err;
    std::string text;
    for (char ch : RunProgram({"/usr/bin/pdftotext", book.string(), "-"}).out)
      text += ch == '\n' ? ' ' : ch;
    EXPECT_NE(text.find(c.note), std::string::npos) << text;
    EXPECT_EQ(text.find("Covers"), std::string::npos) << text;
    EXPECT_EQ(RunProgram({"/usr/bin/pdffonts", book.string()}).out.find("DejaVuSerif"),
              std::string::npos);
  }
  ::unsetenv("FONTCONFIG_FILE");
}

}  // namespace
}  // namespace pellory::specimen
