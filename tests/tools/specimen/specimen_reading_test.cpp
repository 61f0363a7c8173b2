// Books read back as a reader reads them: names, paths and the user's text
// found exactly by pdftotext in every script (ligatures, joined and
// reordered letters included), and the book's outline, contents links and
// document information read with libqpdf.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "book_fixture.h"
#include "book_reading.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::ProgramRun;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool HasLine(const std::string& text, const std::string& wanted) {
  for (const std::string& line : Lines(text))
    if (line == wanted) return true;
  return false;
}

TEST_F(SpecimenBook, NamesAndPathsReadBackAsTheyAre) {
  const fs::path pdf = Book("names.pdf");
  const ProgramRun run = Specimen({"--quiet", "--text", "Hamburg", "-o", pdf.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string text = Text(pdf, 0, false);
  const std::vector<std::string> names = CatalogueNames("[Font Name] <> ''");
  ASSERT_EQ(names.size(), kBookFontCount + 1);
  for (const std::string& name : names) {
    EXPECT_TRUE(HasLine(text, name)) << name;
    EXPECT_GE(Occurrences(text, name), 2u) << name;  // the contents and the block
  }
  ASSERT_NE(std::find(names.begin(), names.end(), "Noto Sans Tifinagh Regular"), names.end());
  for (const char* path : kBookFonts) EXPECT_NE(text.find(path), std::string::npos) << path;
  // No ligature, presentation form or private character stands for letters.
  for (const char* stand : {"\xEF\xAC\x81", "\xEF\xAC\x82", "\xEF\xBB", "\xEF\xBA", "\xEE"})
    EXPECT_EQ(text.find(stand), std::string::npos) << "byte sequence " << stand;
}

// Each text set in a face of its script reads back as given: on the title
// page and in the waterfall, whatever the shaping did with its letters.
TEST_F(SpecimenBook, TheUsersTextReadsBackInEveryScript) {
  const struct {
    const char* face;
    std::string text;
  } cases[] = {
      {"Noto Naskh Arabic Regular",
       "\xD8\xA7\xD9\x84\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 "
       "\xD8\xB9\xD9\x84\xD9\x8A\xD9\x83\xD9\x85"},  // "السلام عليكم"
      {"Noto Sans Devanagari Regular",
       "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87 "
       "\xE0\xA4\xA6\xE0\xA5\x81\xE0\xA4\xA8\xE0\xA4\xBF\xE0\xA4\xAF\xE0\xA4\xBE"},  // "नमस्ते दुनिया"
      {"Noto Sans Thai Regular",
       "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5 "
       "\xE0\xB8\x84\xE0\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x9A"},  // "สวัสดี ครับ"
      {"DejaVu Serif Book", "flatline official affluent"},
  };
  for (const auto& c : cases) {
    const fs::path pdf = Book("script.pdf");
    const ProgramRun run =
        Specimen({"--quiet", "--filter", std::string("[Font Name] = '") + c.face + "'", "--text",
                  c.text, "--sizes", "12", "-o", pdf.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = Text(pdf, 0, false);
    EXPECT_NE(text.find("Covers all"), std::string::npos) << c.face << "\n" << text;
    std::size_t lines = 0;
    for (const std::string& line : Lines(text)) lines += line == c.text;
    EXPECT_EQ(lines, 2u) << c.face << "\n" << text;  // the title page and the waterfall
  }
}

// One outline entry per face, under its category in the catalogue's order of
// categories, each going to its face's page; one link per contents line,
// going where the line says; the document says what it is.
TEST_F(SpecimenBook, OutlineAndContentsLinksGoToEveryFace) {
  const fs::path pdf = Book("outline.pdf");
  ASSERT_EQ(Specimen({"--quiet", "--text", "Hamburg", "-o", pdf.string()}).exitCode, 0);
  const testkit::BookNavigation book = testkit::ReadNavigation(pdf);
  EXPECT_EQ(book.info.at("/Title"), "Specimen book: All fonts");
  EXPECT_EQ(book.info.at("/Subject"), "Every face in the catalogue " + Catalogue().string());
  EXPECT_EQ(book.version, "1.5");
  EXPECT_TRUE(book.hasId);

  ASSERT_FALSE(book.outline.empty());
  EXPECT_EQ(book.outline.front().title, "Contents");
  EXPECT_EQ(book.outline.front().page, 2);
  std::size_t entries = 0;
  std::vector<std::string> categories;
  for (std::size_t i = 1; i < book.outline.size(); ++i) {
    const testkit::OutlineItem& category = book.outline[i];
    categories.push_back(category.title);
    std::vector<std::string> titles;
    for (const testkit::OutlineItem& face : category.kids) {
      titles.push_back(face.title);
      EXPECT_NE(Text(pdf, face.page).find(face.title), std::string::npos)
          << face.title << " on page " << face.page;
    }
    EXPECT_EQ(titles, CatalogueNames("Category = '" + category.title + "'")) << category.title;
    entries += titles.size();
  }
  EXPECT_EQ(entries, kBookFontCount + 1);
  const std::vector<std::string> order = {
      "Capitals Serif", "Capitals Sans Serif", "Handwriting",       "Italic Sans Serif",
      "Italic Serif",   "Normal Serif",        "Normal Sans Serif", "Wingdings"};
  std::vector<std::string> expected;
  for (const std::string& category : order)
    if (std::find(categories.begin(), categories.end(), category) != categories.end())
      expected.push_back(category);
  EXPECT_EQ(categories, expected);

  // The contents lines, top to bottom, with the pages they name.
  std::vector<int> listed;
  const std::regex line(".*\\S +([0-9]+)$");
  for (const std::string& text : Lines(Text(pdf, 2))) {
    std::smatch m;
    if (std::regex_match(text, m, line) && text.find("Page ") == std::string::npos)
      listed.push_back(std::stoi(m[1]));
  }
  ASSERT_EQ(listed.size(), kBookFontCount + 1);
  std::vector<testkit::BookLink> links = book.links;
  ASSERT_EQ(links.size(), listed.size());
  std::stable_sort(links.begin(), links.end(),
                   [](const auto& a, const auto& b) { return a.top > b.top; });
  for (std::size_t i = 0; i < links.size(); ++i) {
    EXPECT_EQ(links[i].page, 2);
    EXPECT_EQ(links[i].target, listed[i]) << "contents line " << i;
  }
}

// --charset: the blocks a face covers with their counts, then its table,
// or, past the page limit, a note that the blocks sum it up.
TEST_F(SpecimenBook, CharacterSetsByBlockWithATableUpToThePageLimit) {
  const std::string serif = "[Font Name] = 'DejaVu Serif Book'";
  const struct {
    const char* option;
    bool table;
  } cases[] = {{"--charset", true}, {"--charset=1", false}};
  int pagesWithTable = 0;
  for (const auto& c : cases) {
    const fs::path pdf = Book("charset.pdf");
    const ProgramRun run = Specimen({"--quiet", "--filter", serif, c.option, "-o", pdf.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = Text(pdf);
    EXPECT_TRUE(std::regex_search(text, std::regex("Character set: 3,[0-9]{3} characters in [0-9]+ "
                                                   "Unicode blocks")))
        << c.option;
    EXPECT_TRUE(std::regex_search(text, std::regex("Latin Extended-A +128 of 128")));
    EXPECT_TRUE(std::regex_search(text, std::regex("Basic Latin +95 of 95")));
    EXPECT_EQ(std::regex_search(text, std::regex("U\\+0100 +0100 +0101 +0102")), c.table)
        << c.option;
    EXPECT_EQ(text.find("more than the 1 a face may fill (--charset=PAGES raises it)") !=
                  std::string::npos,
              !c.table)
        << c.option;
    if (c.table) {
      pagesWithTable = Pages(pdf);
    } else {
      EXPECT_LT(Pages(pdf), pagesWithTable - 3);
    }
  }
}

}  // namespace
}  // namespace pellory::specimen
