// Variable faces: each named instance a face of its own, found by the
// instance in its face number or by name, set by Qt at its own weight and
// slant (never emboldened or slanted once more), nowhere else; --axes adds
// the text at each axis's minimum and maximum. The catalogue is written
// outright, a record per instance, as the catalogue builder writes one for
// each of a variable font's instances.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "book_reading.h"
#include "program_run.h"
#include "scratch_dir.h"
#include "test_catalogue.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::ProgramRun;
using testkit::RunProgram;

// Qt takes each name from one of the package's files: the upright instances
// from the file of both, the italic ones from the italic file.
const char* kInter = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf";
const char* kInterItalic = "/usr/share/fonts/truetype/inter-vf/Inter-italic.var.ttf";

cataloguetest::Font Instance(const std::string& name, const std::string& file,
                             const std::string& style) {
  return {name, "INTER~1.TTF", "Normal Sans Serif",
          "Family: Inter\r\nFile: " + file + "\r\nStyle: " + style, ""};
}

struct Page {
  int width = 0, height = 0;
  std::string pixels;  // grey, a byte a point
  // Dark pixels in a box of points.
  int Ink(double left, double top, double right, double bottom) const {
    int ink = 0;
    for (int y = std::max(0, static_cast<int>(top)); y < std::min(height, static_cast<int>(bottom));
         ++y)
      for (int x = std::max(0, static_cast<int>(left));
           x < std::min(width, static_cast<int>(right)); ++x)
        ink += static_cast<unsigned char>(pixels[static_cast<std::size_t>(y) * width + x]) < 128;
    return ink;
  }
};

Page Render(const fs::path& pdf, int page) {
  const fs::path stem = pdf.parent_path() / "page";
  RunProgram({"/usr/bin/pdftoppm", "-gray", "-r", "72", "-f", std::to_string(page), "-l",
              std::to_string(page), "-singlefile", pdf.string(), stem.string()});
  std::ifstream in(stem.string() + ".pgm", std::ios::binary);
  std::string magic;
  int depth = 0;
  Page read;
  in >> magic >> read.width >> read.height >> depth;
  in.get();
  read.pixels.assign(std::istreambuf_iterator<char>(in), {});
  return read;
}

struct Word {
  std::string text;
  double left, top, right, bottom;
};

std::vector<Word> Words(const fs::path& pdf, int page) {
  const std::string boxes = RunProgram({"/usr/bin/pdftotext", "-bbox", "-f", std::to_string(page),
                                        "-l", std::to_string(page), pdf.string(), "-"})
                                .out;
  const std::regex word(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)<");
  std::vector<Word> words;
  for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word);
       it != std::sregex_iterator(); ++it)
    words.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                     std::stod((*it)[4])});
  return words;
}

TEST(SpecimenVariable, NamedInstancesAtTheirOwnWeightAndAxesAtTheirEnds) {
  if (!fs::exists(kInter) || !fs::exists(kInterItalic))
    GTEST_SKIP() << "fonts-inter-variable is not installed";
  testkit::ScratchDir scratch("pellory-specimen");
  const std::string inter = kInter;
  const cataloguetest::TestCatalogue catalogue({
      Instance("Inter Thin", inter + " (face 65536)", "Thin"),
      Instance("Inter Thin Italic", kInterItalic + std::string(" (face 65536)"), "Thin Italic"),
      // The instance named on a line of its own, the face number its file's.
      {"Inter Black", "INTER~1.TTF", "Normal Sans Serif",
       "Family: Inter\r\nFile: " + inter + "\r\nInstance: Black", ""},
  });
  const fs::path pdf = scratch.path() / "inter.pdf";
  const ProgramRun run =
      RunProgram({PELLORY_SPECIMEN, "--quiet", "--text", "Hamburg", "--sizes", "24", "--axes",
                  "--paper", "A3", "-o", pdf.string(), catalogue.Directory().string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(testkit::QpdfProblems(pdf), "");
  const std::string text = std::regex_replace(
      RunProgram({"/usr/bin/pdftotext", pdf.string(), "-"}).out, std::regex("\\s+"), " ");
  std::size_t covering = 0, axes = 0;
  for (std::size_t at = 0; (at = text.find("Covers all 7 characters", at)) != std::string::npos;
       ++at)
    ++covering;
  // The italic file's only axis is weight.
  const std::string listed = "Variation axes: wght Weight 100\u2013900 (default 400)";
  for (std::size_t at = 0; (at = text.find(listed, at)) != std::string::npos; ++at) ++axes;
  EXPECT_EQ(covering, 3u) << text;
  EXPECT_EQ(axes, 3u) << text;
  const std::string fonts = RunProgram({"/usr/bin/pdffonts", pdf.string()}).out;
  for (const char* face : {"Inter-Thin ", "Inter-ThinItalic", "Inter-Black"})
    EXPECT_NE(fonts.find(face), std::string::npos) << face << "\n" << fonts;
  // Qt neither slants a sloped instance once more nor draws a heavy one twice.
  for (const std::vector<double>& m : testkit::TextMatrices(pdf)) {
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[1], 0);
    EXPECT_EQ(m[2], 0);
  }

  // On the faces' page: the waterfall lines (the only text "Hamburg"; the
  // axes' lines are outlines), Thin above Thin Italic above Black, and the
  // rows labelled "wght 100" and "wght 900".
  const std::vector<Word> words = Words(pdf, 3);
  const Page page = Render(pdf, 3);
  std::vector<Word> lines;
  std::vector<std::pair<Word, Word>> weights;  // each block's wght 100 and 900 labels
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i].text == "Hamburg") lines.push_back(words[i]);
    if (words[i].text == "wght" && i + 1 < words.size() && words[i + 1].text == "100")
      weights.push_back({words[i], words[i]});
    if (words[i].text == "wght" && i + 1 < words.size() && words[i + 1].text == "900" &&
        !weights.empty())
      weights.back().second = words[i];
  }
  ASSERT_EQ(lines.size(), 3u);
  const auto ink = [&](const Word& w) { return page.Ink(w.left, w.top, w.right, w.bottom); };
  EXPECT_GT(ink(lines[2]), 2 * ink(lines[0])) << "Black against Thin";
  EXPECT_GT(lines[2].right - lines[2].left, lines[0].right - lines[0].left);
  ASSERT_EQ(weights.size(), 3u);
  const auto row = [&](const Word& label) {
    return page.Ink(label.right + 10, label.bottom - 26, page.width, label.bottom + 8);
  };
  for (const auto& [light, heavy] : weights) EXPECT_GT(row(heavy), 2 * row(light));
}

}  // namespace
}  // namespace pellory::specimen
