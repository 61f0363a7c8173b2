// Every good file of the BMP suite decodes to the pixels of the suite's
// reference rendering (read with Qt, which only this test needs).
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "pellory/data/bitmap.h"

namespace pellory::data {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(PELLORY_SHARED_DIR) / "testdata" / "bmpsuite";

struct ReferenceCase {
  const char* file;  // under the suite, with its folder
  const char* reference;
  int tolerance;  // per channel: the references round 5- and 6-bit channels
};

void PrintTo(const ReferenceCase& c, std::ostream* os) {
  *os << c.file;
}

class SuiteReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(SuiteReference, MatchesThePixels) {
  if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no BMP suite at " << kSuite;
  const ReferenceCase& c = GetParam();
  std::ifstream file(kSuite / c.file, std::ios::binary);
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
  const BitmapImage image = DecodeBitmap(bytes);

  QImage reference(QString::fromStdString((kSuite / "ref" / c.reference).string()));
  ASSERT_FALSE(reference.isNull()) << c.reference;
  reference = reference.convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(image.width, reference.width());
  ASSERT_EQ(image.height, reference.height());

  int mismatches = 0;
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
    for (int x = 0; x < image.width; ++x) {
      const QRgb want = row[x];
      const std::uint32_t got = image.PixelAt(x, y);
      const bool close =
          std::abs(qRed(want) - static_cast<int>(got >> 16 & 0xFF)) <= c.tolerance &&
          std::abs(qGreen(want) - static_cast<int>(got >> 8 & 0xFF)) <= c.tolerance &&
          std::abs(qBlue(want) - static_cast<int>(got & 0xFF)) <= c.tolerance &&
          qAlpha(want) == static_cast<int>(got >> 24);
      if (!close && ++mismatches <= 3) {
        ADD_FAILURE() << c.file << " at " << x << "," << y << ": got " << std::hex << got
                      << " want " << want;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Good, SuiteReference,
    ::testing::Values(
        ReferenceCase{"g/pal1.bmp", "pal1.png", 0}, ReferenceCase{"g/pal1bg.bmp", "pal1bg.png", 0},
        ReferenceCase{"g/pal1wb.bmp", "pal1.png", 0}, ReferenceCase{"g/pal4.bmp", "pal4.png", 0},
        ReferenceCase{"g/pal4gs.bmp", "pal4gs.png", 0},
        ReferenceCase{"g/pal4rle.bmp", "pal4.png", 0}, ReferenceCase{"g/pal8-0.bmp", "pal8.png", 0},
        ReferenceCase{"g/pal8.bmp", "pal8.png", 0}, ReferenceCase{"g/pal8gs.bmp", "pal8gs.png", 0},
        ReferenceCase{"g/pal8nonsquare.bmp", "pal8nonsquare-e.png", 0},
        ReferenceCase{"g/pal8os2.bmp", "pal8.png", 0},
        ReferenceCase{"g/pal8rle.bmp", "pal8.png", 0},
        ReferenceCase{"g/pal8topdown.bmp", "pal8.png", 0},
        ReferenceCase{"g/pal8v4.bmp", "pal8.png", 0}, ReferenceCase{"g/pal8v5.bmp", "pal8.png", 0},
        ReferenceCase{"g/pal8w124.bmp", "pal8w124.png", 0},
        ReferenceCase{"g/pal8w125.bmp", "pal8w125.png", 0},
        ReferenceCase{"g/pal8w126.bmp", "pal8w126.png", 0},
        ReferenceCase{"g/rgb16-565.bmp", "rgb16-565.png", 1},
        ReferenceCase{"g/rgb16-565pal.bmp", "rgb16-565.png", 1},
        ReferenceCase{"g/rgb16.bmp", "rgb16.png", 1},
        ReferenceCase{"g/rgb16bfdef.bmp", "rgb16.png", 1},
        ReferenceCase{"g/rgb24.bmp", "rgb24.png", 0},
        ReferenceCase{"g/rgb24pal.bmp", "rgb24.png", 0},
        ReferenceCase{"g/rgb32.bmp", "rgb24.png", 0},
        ReferenceCase{"g/rgb32bf.bmp", "rgb24.png", 0},
        ReferenceCase{"g/rgb32bfdef.bmp", "rgb24.png", 0}),
    [](const auto& p) {
      std::string name = fs::path(p.param.file).stem().string();
      std::erase(name, '-');
      return name;
    });

// Questionable files that the decoder accepts, where the suite renders the
// same reading: unusual bit fields, and run-length data that skips pixels or
// stops early (the skipped pixels take colour 0).
INSTANTIATE_TEST_SUITE_P(
    Questionable, SuiteReference,
    ::testing::Values(ReferenceCase{"q/rgb16-231.bmp", "rgb16-231.png", 1},
                      ReferenceCase{"q/rgb16-3103.bmp", "rgb16-3103.png", 1},
                      ReferenceCase{"q/rgb32-7187.bmp", "rgb32-7187.png", 1},
                      ReferenceCase{"q/pal8rletrns.bmp", "pal8rletrns-0.png", 0},
                      ReferenceCase{"q/pal4rletrns.bmp", "pal4rletrns-0.png", 0},
                      ReferenceCase{"q/pal8rlecut.bmp", "pal8rlecut-0.png", 0},
                      ReferenceCase{"q/pal4rlecut.bmp", "pal4rlecut-0.png", 0}),
    [](const auto& p) {
      std::string name = fs::path(p.param.file).stem().string();
      std::erase(name, '-');
      return name;
    });

}  // namespace
}  // namespace pellory::data
