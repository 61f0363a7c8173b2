// pellory-specimen as a user runs it, on the small catalogue of
// book_fixture.h: selections, coverage, parts, paper, exit codes,
// interrupted runs.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "book_fixture.h"
#include "book_reading.h"
#include "program_run.h"
#include "scratch_dir.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::ProgramRun;
using testkit::RunProgram;
using testkit::ScratchDir;

TEST_F(SpecimenBook, CategoryBookNamesEveryFaceWithContentsAndItsOwnFonts) {
  const fs::path pdf = Book("handwriting.pdf");
  const ProgramRun run = Specimen({"--category", "Handwriting", "--text", "Hamburgefonstiv",
                                   "--paper", "A4", "-o", pdf.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> names = CatalogueNames("Category ='Handwriting'");
  ASSERT_EQ(names, (std::vector<std::string>{"Dancing Script Regular", "Z003 Medium Italic"}));

  // The progress counts the selected faces, not the catalogue's.
  EXPECT_NE(run.err.find("pellory-specimen: writing [" + std::string(30, '#') + "] 2/2 faces\n"),
            std::string::npos)
      << run.err;
  const int pages = Pages(pdf);
  EXPECT_NE(
      run.err.find("wrote " + pdf.string() + ": " + std::to_string(pages) + " pages, 2 faces"),
      std::string::npos)
      << run.err;
  const std::string all = Text(pdf);
  EXPECT_EQ(Occurrences(all, "Specimen book: Handwriting"), static_cast<std::size_t>(pages));
  EXPECT_NE(all.find("Page " + std::to_string(pages) + " of " + std::to_string(pages)),
            std::string::npos);
  const std::string title = Text(pdf, 1);
  EXPECT_NE(title.find("Selection"), std::string::npos);
  EXPECT_NE(title.find("Hamburgefonstiv"), std::string::npos);
  const std::string contents = Text(pdf, 2);
  EXPECT_NE(contents.find("Contents"), std::string::npos);
  for (const std::string& name : names) {
    // Listed with the page its block starts on, and named there.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(contents, m, std::regex(name + " +([0-9]+)"))) << contents;
    const int page = std::stoi(m[1]);
    ASSERT_GE(page, 3);
    ASSERT_LE(page, pages);
    EXPECT_NE(Text(pdf, page).find(name), std::string::npos) << name << " on page " << page;
  }
  EXPECT_EQ(all.find("DejaVu Serif Book"), std::string::npos);
  EXPECT_EQ(Occurrences(all, "Covers all 15 characters of the text."), 2u);
  const std::set<std::string> fonts = EmbeddedFonts(pdf);
  EXPECT_TRUE(fonts.count("DancingScript")) << ::testing::PrintToString(fonts);
  EXPECT_TRUE(fonts.count("Z003-MediumItalic")) << ::testing::PrintToString(fonts);
}

TEST_F(SpecimenBook, FaceNotInstalledGetsItsPictureAndANote) {
  const fs::path pdf = Book("sans.pdf");
  const ProgramRun run =
      Specimen({"--category", "Normal Sans Serif", "--text", "Hamburg", "-o", pdf.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string all = Text(pdf);
  EXPECT_NE(all.find("DejaVu Sans Mono Book"), std::string::npos);
  EXPECT_NE(all.find("Not installed on this machine: no installed font file is called "
                     "\"MonoCopy.ttf\"; the sample picture only."),
            std::string::npos)
      << all;
  EXPECT_NE(Text(pdf, 1).find("1 face: sample pictures only"), std::string::npos);
  const std::set<std::string> fonts = EmbeddedFonts(pdf);
  EXPECT_TRUE(fonts.count("DejaVuSans-Bold"));
  EXPECT_FALSE(fonts.count("DejaVuSansMono")) << ::testing::PrintToString(fonts);
}

// The note of a face's block: the line starting "Covers" or "Not installed"
// among the lines below the face's name, past the title and contents pages.
std::string NoteOf(const std::string& text, const std::string& name) {
  std::size_t at = text.find('\f', text.find('\f') + 1);
  at = text.find(name + " ", at);
  if (at == std::string::npos) return {};
  std::istringstream lines(text.substr(at));
  std::string line;
  for (int n = 0; n < 10 && std::getline(lines, line); ++n) {
    line = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    if (line.rfind("Covers ", 0) == 0 || line.rfind("Not installed", 0) == 0) return line;
  }
  return {};
}

TEST_F(SpecimenBook, CoverageIsToldAndCoveringLeavesOutTheFacesThatLackCharacters) {
  const std::string text = "Hamburg \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // Hebrew "shalom"
  const fs::path whole = Book("coverage.pdf");
  ASSERT_EQ(Specimen({"--text", text, "-o", whole.string()}).exitCode, 0);
  const std::string all = Text(whole);
  EXPECT_EQ(NoteOf(all, "Dancing Script Regular"),
            "Covers 7 of the 11 characters of the text; the 4 it lacks are marked.");
  EXPECT_EQ(NoteOf(all, "DejaVu Sans Bold"), "Covers all 11 characters of the text.");

  const fs::path covering = Book("covering.pdf");
  const ProgramRun run = Specimen({"--text", text, "--covering", "-o", covering.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string kept = Text(covering);
  std::size_t leftOut = 0;
  for (const std::string& name : CatalogueNames("[Font Name] <> ''")) {
    const bool covers = NoteOf(all, name).rfind("Covers all", 0) == 0;
    EXPECT_EQ(kept.find(name) != std::string::npos, covers) << name;
    leftOut += covers ? 0 : 1;
  }
  EXPECT_NE(kept.find("DejaVu Sans Bold"), std::string::npos);
  EXPECT_EQ(kept.find("Dancing Script Regular"), std::string::npos);
  EXPECT_NE(
      Text(covering, 1).find(std::to_string(leftOut) + " faces that do not cover the whole text"),
      std::string::npos);
}

// A long book is written in parts of a bounded number of faces, each a PDF
// document of its own, and joined. Made one face a part, the book reads as
// the book made in one: the same pages with the same text (page numbers of
// the whole, contents pointing at the right pages) and the same faces
// embedded. Each part embeds the book's own face again, which shows that
// the parts were written out one by one.
TEST_F(SpecimenBook, BookWrittenInPartsReadsAsTheBookInOne) {
  const std::vector<std::string> args = {"--text", "Hamburgefonstiv", "--paper", "A5", "-o"};
  const auto make = [&](const fs::path& pdf, const char* facesPerPart) {
    if (facesPerPart) ::setenv("PELLORY_SPECIMEN_FACES_PER_PART", facesPerPart, 1);
    std::vector<std::string> command = args;
    command.push_back(pdf.string());
    const ProgramRun run = Specimen(command);
    ::unsetenv("PELLORY_SPECIMEN_FACES_PER_PART");
    EXPECT_EQ(run.exitCode, 0) << run.err;
  };
  const fs::path whole = Book("one-part.pdf");
  const fs::path parted = Book("parts.pdf");
  make(whole, nullptr);
  make(parted, "1");
  const int pages = Pages(whole);
  ASSERT_GT(pages, 3);
  ASSERT_EQ(Pages(parted), pages);
  for (int page = 1; page <= pages; ++page) {
    const std::string text = Text(parted, page);
    EXPECT_EQ(text, Text(whole, page)) << "page " << page;
    EXPECT_NE(text.find("Page " + std::to_string(page) + " of " + std::to_string(pages)),
              std::string::npos)
        << text;
  }
  const std::set<std::string> fonts = EmbeddedFonts(parted);
  EXPECT_EQ(fonts, EmbeddedFonts(whole));
  for (const char* face :
       {"DejaVuSerif", "LiberationSans-Italic", "DancingScript", "Z003-MediumItalic", "D050000L"})
    EXPECT_TRUE(fonts.count(face)) << face << " in " << ::testing::PrintToString(fonts);
  const auto copiesOfTheBookFace = [&](const fs::path& pdf) {
    std::istringstream lines(Tool({"/usr/bin/pdffonts", pdf.string()}));
    int n = 0;
    for (std::string line; std::getline(lines, line);) n += line.rfind("DejaVuSans ", 0) == 0;
    return n;
  };
  EXPECT_EQ(copiesOfTheBookFace(whole), 1);
  const int parts = copiesOfTheBookFace(parted);
  EXPECT_GT(parts, 2);
  EXPECT_LE(parts, pages);
}

TEST_F(SpecimenBook, PaperFromTheCommandLineOrTheLocale) {
  const struct {
    std::vector<std::string> args;
    const char* locale;
    const char* size;
  } cases[] = {
      {{"--paper", "letter"}, "C.UTF-8", "612 x 792 pts (letter)"},
      {{"--paper", "A5"}, "C.UTF-8", "420 x 595 pts (A5)"},
      {{}, "C.UTF-8", "595 x 842 pts (A4)"},
  };
  for (const auto& c : cases) {
    const fs::path pdf = Book("paper.pdf");
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--category", "Wingdings", "-o", pdf.string()});
    ::setenv("LC_ALL", c.locale, 1);
    const ProgramRun run = Specimen(args);
    ::unsetenv("LC_ALL");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(Tool({"/usr/bin/pdfinfo", pdf.string()}).find(c.size), std::string::npos) << c.size;
  }
}

TEST_F(SpecimenBook, ExitCodesAndMessages) {
  const std::string missing = (scratch_->path() / "no-such-dir" / "book.pdf").string();
  const struct {
    std::vector<std::string> args;
    int exitCode;
    const char* errStart;
  } cases[] = {
      {{"--category", "Gothic", "-o", Book("x.pdf").string()},
       2,
       "pellory-specimen: no category \"Gothic\"; the categories are"},
      {{"--paper", "Quarto", "-o", Book("x.pdf").string()},
       2,
       "pellory-specimen: no paper size \"Quarto\""},
      {{"-o", missing}, 3, "pellory-specimen: cannot write "},
      {{"--filter", "Categroy = 'x'", "-o", Book("x.pdf").string()},
       1,
       "pellory-specimen: Catalogue: Field 'Categroy' not found"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Specimen(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.errStart << "\n" << run.err;
    EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << run.err;
  }
  EXPECT_FALSE(fs::exists(Book("x.pdf")));
  const ProgramRun noCatalogue = RunProgram(
      {PELLORY_SPECIMEN, "-o", Book("x.pdf").string(), (scratch_->path() / "nothing").string()});
  EXPECT_EQ(noCatalogue.exitCode, 1) << noCatalogue.err;
  EXPECT_FALSE(fs::exists(Book("x.pdf")));
}

TEST_F(SpecimenBook, TheAliasPelloryWhenNoCatalogueIsNamed) {
  const fs::path config = scratch_->path() / "engine.conf";
  std::ofstream(config) << "[engine]\nlibrary_dir = "
                        << fs::path(PELLORY_SPECIMEN).parent_path().string()
                        << "\n[alias pellory]\npath = " << Catalogue().string() << "\n";
  const fs::path pdf = Book("alias.pdf");
  ::setenv("PELLORY_ENGINE_CONFIG", config.c_str(), 1);
  const ProgramRun run =
      RunProgram({PELLORY_SPECIMEN, "--quiet", "--category", "Wingdings", "-o", pdf.string()});
  ::unsetenv("PELLORY_ENGINE_CONFIG");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(testkit::QpdfProblems(pdf), "");
  const std::string title = Text(pdf, 1);
  EXPECT_NE(title.find("pellory (alias)"), std::string::npos) << title;
  EXPECT_NE(Text(pdf).find("D050000L Regular"), std::string::npos);
}

// A run stopped by a signal half-way leaves neither the book nor its
// temporary file behind.
TEST(SpecimenInterrupted, KilledHalfWayLeavesNoFile) {
  ScratchDir scratch("pellory-specimen");
  const fs::path catalogue = scratch.path() / "catalogue";
  ASSERT_EQ(RunProgram({PELLORY_MKCATALOGUE, "--quiet", "--synthetic", "20000", catalogue.string()})
                .exitCode,
            0);
  const fs::path out = scratch.path() / "out";
  fs::create_directories(out);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    // The second pass writes the pages; a tenth of it is past the middle of
    // the run.
    const ProgramRun run = RunProgram({PELLORY_SPECIMEN, "--text", "Hamburg", "-o",
                                       (out / "book.pdf").string(), catalogue.string()},
                                      {"writing [###", signal});
    EXPECT_EQ(run.signal, signal) << run.exitCode << "\n" << run.err;
    EXPECT_NE(run.err.find("writing [###"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(out)) << fs::directory_iterator(out)->path();
  }
}

}  // namespace
}  // namespace pellory::specimen
