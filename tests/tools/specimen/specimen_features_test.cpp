// --features and --charset books of a face with small capitals, old-style
// figures and ligatures (Linux Libertine O): each feature line is the
// plain line with the feature applied, which its pixels show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "book_fixture.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::ProgramRun;

struct Box {
  double left = 1e9, top = 1e9, right = -1, bottom = -1;
  void Add(double l, double t, double r, double b) {
    left = std::min(left, l);
    top = std::min(top, t);
    right = std::max(right, r);
    bottom = std::max(bottom, b);
  }
};

// A grey page as pdftoppm -gray writes it (binary PGM), a pixel a point at 72 dots to the inch.
struct Grey {
  int width = 0, height = 0;
  std::string pixels;
  int At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 255;
    return static_cast<unsigned char>(pixels[static_cast<std::size_t>(y) * width + x]);
  }
};

Grey ReadPgm(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int depth = 0;
  Grey grey;
  in >> magic >> grey.width >> grey.height >> depth;
  in.get();
  grey.pixels.assign(std::istreambuf_iterator<char>(in), {});
  return grey;
}

// Pixels that differ clearly between two boxes laid over each other at their top left corners.
int Differing(const Grey& page, const Box& a, const Box& b) {
  const int width = static_cast<int>(std::max(a.right - a.left, b.right - b.left)) + 1;
  const int height = static_cast<int>(std::max(a.bottom - a.top, b.bottom - b.top)) + 1;
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      differing +=
          std::abs(page.At(static_cast<int>(a.left) + x, static_cast<int>(a.top) + y) -
                   page.At(static_cast<int>(b.left) + x, static_cast<int>(b.top) + y)) > 96;
  return differing;
}

TEST_F(SpecimenBook, FeatureLinesDifferFromThePlainLineAsTheirFeatureDoes) {
  const fs::path pdf = Book("features.pdf");
  const std::string text = "Office 1234";
  const ProgramRun run =
      Specimen({"--quiet", "--filter", "[Font Name] = 'Linux Libertine O Regular'", "--text", text,
                "--sizes", "24", "--features", "smcp,onum,-liga,kern,ss99", "--charset", "-o",
                pdf.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The list of the face's features runs over several lines.
  const std::string all = std::regex_replace(Text(pdf, 0, false), std::regex("\\s+"), " ");
  EXPECT_NE(all.find("OpenType features: aalt Access All Alternates,"), std::string::npos) << all;
  EXPECT_NE(all.find("smcp Small Capitals"), std::string::npos);
  EXPECT_NE(all.find("onum Oldstyle Figures"), std::string::npos);
  EXPECT_NE(all.find("ss99 (Stylistic Set 99): not among this face's features."),
            std::string::npos);
  EXPECT_TRUE(std::regex_search(Text(pdf), std::regex("Latin Extended-A +128 of 128")));

  // The lines of the text on the face's page, top to bottom: the plain line
  // at 24 points, then smcp, onum, -liga and kern.
  const std::string boxes =
      Tool({"/usr/bin/pdftotext", "-bbox", "-f", "3", "-l", "3", pdf.string(), "-"});
  const std::regex word(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">"
      "(Office|1234)</word>");
  std::vector<Box> lines;
  for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word);
       it != std::sregex_iterator(); ++it) {
    const double top = std::stod((*it)[2]);
    if (lines.empty() || std::abs(lines.back().top - top) > 10) lines.emplace_back();
    lines.back().Add(std::stod((*it)[1]), top, std::stod((*it)[3]), std::stod((*it)[4]));
  }
  ASSERT_EQ(lines.size(), 5u) << boxes;
  EXPECT_GT(lines[1].right - lines[1].left,
            lines[0].right - lines[0].left);  // small capitals are wider

  ASSERT_EQ(Tool({"/usr/bin/pdftoppm", "-gray", "-r", "72", "-f", "3", "-l", "3", "-singlefile",
                  pdf.string(), Book("features").string()}),
            "");
  const Grey page = ReadPgm(Book("features.pgm"));
  ASSERT_GT(page.width, 0);
  const struct {
    const char* feature;
    std::size_t line;
    bool differs;
  } cases[] = {{"smcp", 1, true}, {"onum", 2, true}, {"-liga", 3, true}, {"kern", 4, false}};
  for (const auto& c : cases) {
    const int differing = Differing(page, lines[0], lines[c.line]);
    if (c.differs)
      EXPECT_GT(differing, 40) << c.feature;
    else
      EXPECT_LT(differing, 10) << c.feature;  // kerning is on in the plain line too
  }
}

}  // namespace
}  // namespace pellory::specimen
