// pellory-sample-sheet OUT.bmp FONT[:FACE]...: the sample pictures the
// catalogue builder draws for the given faces, on one grey sheet, each
// under a line naming its file, category and scripts. A developer's tool
// for looking at samples (`make screenshots`); not installed.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bmp_image.h"
#include "font_facts.h"
#include "font_sources.h"
#include "sample_picture.h"
#include "shape_measures.h"

namespace pellory::mkcatalogue {
namespace {

constexpr int kBorder = 10;
constexpr int kLabelSize = 13;

struct Block {
  GreyImage label, picture;
};

GreyImage Label(FT_Face plain, const std::string& text) {
  GreyImage image;
  if (!plain || !SetPixelSize(plain, kLabelSize)) return image;
  const Coverage ink = RenderShaped(plain, ShapeText(plain, text), 2 * kPictureMaxWidth);
  image.width = ink.width;
  image.height = ink.height;
  for (std::uint8_t p : ink.pixels) image.pixels.push_back(static_cast<std::uint8_t>(255 - p));
  return image;
}

void Paste(GreyImage& sheet, const GreyImage& part, int left, int top) {
  for (int y = 0; y < part.height && top + y < sheet.height; ++y)
    for (int x = 0; x < part.width && left + x < sheet.width; ++x)
      sheet.pixels[static_cast<std::size_t>(top + y) * sheet.width + left + x] =
          part.pixels[static_cast<std::size_t>(y) * part.width + x];
}

// A one-pixel grey frame around the picture's place, so its size shows.
void Frame(GreyImage& sheet, int left, int top, int width, int height) {
  for (int x = left - 1; x <= left + width; ++x)
    for (int y : {top - 1, top + height})
      sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x] = 160;
  for (int y = top - 1; y <= top + height; ++y)
    for (int x : {left - 1, left + width})
      sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x] = 160;
}

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: pellory-sample-sheet OUT.bmp FONT[:FACE]...\n";
    return 2;
  }
  FreeTypeLibrary library = OpenFreeType();
  std::string error;
  const FontFace plain = OpenFace(library.get(), PlainFaceFile(), 0, &error);
  std::vector<Block> blocks;
  for (int i = 2; i < argc; ++i) {
    std::string file = argv[i];
    int index = 0;
    if (const auto colon = file.rfind(':'); colon != std::string::npos) {
      index = std::stoi(file.substr(colon + 1));  // a named instance in bits 16 and up
      file.resize(colon);
    }
    const FontFace face = OpenFace(library.get(), file, index, &error);
    if (!face) {
      std::cerr << "pellory-sample-sheet: " << file << ": " << error << '\n';
      return 1;
    }
    const FontFacts facts = ReadFontFacts(face.get(), file, index);
    const FaceCoverage coverage = ReadFaceCoverage(face.get(), facts.family);
    const CategoryDecision decision =
        DecideCategory(ReadShapeFacts(face.get(), coverage, facts.family));
    const SampleKind kind =
        decision.category == Category::Wingdings ? SampleKind::Symbols : SampleKind::Text;
    const std::string name = facts.family + (facts.style.empty() ? "" : " " + facts.style);
    // A named instance shares its file with its siblings: its name tells it.
    std::string label = std::filesystem::path(file).filename().string();
    if (index) label += ':' + std::to_string(index) + ' ' + name;
    label += " - ";
    label += CategoryText(decision.category);
    label += " - ";
    label += coverage.scripts.empty() ? "no script" : coverage.ScriptNames();
    blocks.push_back({Label(plain.get(), label.substr(0, 90)),
                      DrawSample(face.get(), plain.get(), name, kind, coverage)});
  }
  // Two columns of blocks, each as wide as the largest picture.
  const int columnWidth = 2 * kPictureMaxWidth / 2 + 2 * kBorder + 120;
  const int rowHeight = kLabelSize + 6 + kPictureMaxHeight + 2 * kBorder;
  const int rows = (static_cast<int>(blocks.size()) + 1) / 2;
  GreyImage sheet{2 * columnWidth + kBorder, rows * rowHeight + kBorder, {}};
  sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height, 230);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const int left = kBorder + static_cast<int>(i % 2) * columnWidth;
    const int top = kBorder + static_cast<int>(i / 2) * rowHeight;
    Paste(sheet, blocks[i].label, left, top);
    const int pictureTop = top + kLabelSize + 8;
    Frame(sheet, left, pictureTop, blocks[i].picture.width, blocks[i].picture.height);
    Paste(sheet, blocks[i].picture, left, pictureTop);
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << EncodeGreyBmp(sheet);
  return out ? 0 : 1;
}

}  // namespace
}  // namespace pellory::mkcatalogue

int main(int argc, char** argv) {
  return pellory::mkcatalogue::Run(argc, argv);
}
