// The public BMP suite: bad files refused cleanly, questionable ones decoded
// or refused without harm, good ones decoded (their pixels are compared with
// the reference renderings in bmpsuite_reference_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "bmp_fixture.h"
#include "pellory/data/bitmap.h"

namespace pellory::data {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::kInvalid;
using testing::kShort;

const fs::path kSuite = fs::path(PELLORY_SHARED_DIR) / "testdata" / "bmpsuite";

Bytes ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  const Bytes read(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>{});
  return Bytes(read.begin(), read.end());  // exactly sized, so over-reads are caught
}

#define SKIP_WITHOUT_SUITE() \
  if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no BMP suite at " << kSuite

// What the decoder makes of a file: its message, or "decoded".
std::string Outcome(const Bytes& bytes, BitmapImage* image = nullptr) {
  try {
    BitmapImage decoded = DecodeBitmap(bytes);
    const std::size_t kept = decoded.IsIndexed() ? decoded.indices.size() : decoded.pixels.size();
    EXPECT_EQ(kept, static_cast<std::size_t>(decoded.width) * decoded.height);
    if (image != nullptr) *image = std::move(decoded);
    return "decoded";
  } catch (const BitmapError& error) {
    return error.what();
  }
}

struct SuiteCase {
  const char* file;
  const char* outcome;
};

void PrintTo(const SuiteCase& c, std::ostream* os) {
  *os << c.file;
}

class BadFiles : public ::testing::TestWithParam<SuiteCase> {};

TEST_P(BadFiles, AreRefusedCleanly) {
  SKIP_WITHOUT_SUITE();
  const Bytes bytes = ReadFile(kSuite / "b" / GetParam().file);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(Outcome(bytes), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Suite, BadFiles,
    ::testing::Values(SuiteCase{"badbitcount.bmp", kInvalid},
                      SuiteCase{"badheadersize.bmp", kInvalid},
                      SuiteCase{"badpalettesize.bmp", kShort}, SuiteCase{"badplanes.bmp", kInvalid},
                      SuiteCase{"badrle.bmp", kInvalid}, SuiteCase{"badrle4.bmp", kInvalid},
                      SuiteCase{"badrle4bis.bmp", kInvalid}, SuiteCase{"badrle4ter.bmp", kInvalid},
                      SuiteCase{"badrlebis.bmp", kInvalid}, SuiteCase{"badrleter.bmp", kInvalid},
                      SuiteCase{"badwidth.bmp", kInvalid}, SuiteCase{"pal8badindex.bmp", kInvalid},
                      SuiteCase{"reallybig.bmp", kInvalid}, SuiteCase{"rgb16-880.bmp", kInvalid},
                      SuiteCase{"rletopdown.bmp", kInvalid}, SuiteCase{"shortfile.bmp", kShort}),
    [](const auto& p) {
      std::string name = fs::path(p.param.file).stem().string();
      std::erase(name, '-');
      return name;
    });

// These four differ from g/pal1.bmp only in fields the decoder does not use
// (file size, image size, resolutions): they decode to the same picture.
TEST(BadFileSet, UnusedLyingFieldsDecodeLikeTheGoodFile) {
  SKIP_WITHOUT_SUITE();
  const BitmapImage good = DecodeBitmap(ReadFile(kSuite / "g" / "pal1.bmp"));
  for (const char* name : {"badbitssize.bmp", "baddens1.bmp", "baddens2.bmp", "badfilesize.bmp"}) {
    BitmapImage image;
    EXPECT_EQ(Outcome(ReadFile(kSuite / "b" / name), &image), "decoded") << name;
    EXPECT_EQ(ArgbPixels(image), ArgbPixels(good)) << name;
  }
}

TEST(BadFileSet, EveryFileIsCovered) {
  SKIP_WITHOUT_SUITE();
  EXPECT_EQ(std::distance(fs::directory_iterator(kSuite / "b"), fs::directory_iterator()), 20);
}

TEST(QuestionableFiles, DecodeOrFailWithTheDecodersMessage) {
  SKIP_WITHOUT_SUITE();
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(kSuite / "q")) {
    const std::string outcome = Outcome(ReadFile(entry.path()));
    EXPECT_TRUE(outcome == "decoded" || outcome == kInvalid || outcome == kShort)
        << entry.path() << ": " << outcome;
    ++seen;
  }
  EXPECT_GT(seen, 0);
}

TEST(QuestionableFiles, OutOfScopeFormatsAreRefused) {
  SKIP_WITHOUT_SUITE();
  for (const char* name : {"pal2.bmp", "rgba64.bmp", "rgb24jpeg.bmp", "rgb24png.bmp",
                           "pal8os2v2-16.bmp", "rgb24rle24.bmp"}) {
    EXPECT_EQ(Outcome(ReadFile(kSuite / "q" / name)), kInvalid) << name;
  }
}

// Good files that store the same picture in different forms.
TEST(GoodFiles, SamePictureInEveryForm) {
  SKIP_WITHOUT_SUITE();
  const std::vector<std::vector<const char*>> groups{
      {"pal8.bmp", "pal8-0.bmp", "pal8os2.bmp", "pal8rle.bmp", "pal8topdown.bmp", "pal8v4.bmp",
       "pal8v5.bmp"},
      {"pal4.bmp", "pal4rle.bmp"},
      {"pal1.bmp", "pal1wb.bmp"},
      {"rgb16.bmp", "rgb16bfdef.bmp"},
      {"rgb16-565.bmp", "rgb16-565pal.bmp"},
      {"rgb24.bmp", "rgb24pal.bmp", "rgb32.bmp", "rgb32bf.bmp", "rgb32bfdef.bmp"}};
  for (const auto& group : groups) {
    BitmapImage first;
    ASSERT_EQ(Outcome(ReadFile(kSuite / "g" / group[0]), &first), "decoded") << group[0];
    EXPECT_EQ(first.width, 127);
    EXPECT_EQ(first.height, 64);
    for (const char* name : group) {
      BitmapImage image;
      EXPECT_EQ(Outcome(ReadFile(kSuite / "g" / name), &image), "decoded") << name;
      EXPECT_EQ(ArgbPixels(image), ArgbPixels(first)) << name;
    }
  }
}

TEST(GoodFiles, AllDecode) {
  SKIP_WITHOUT_SUITE();
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(kSuite / "g")) {
    EXPECT_EQ(Outcome(ReadFile(entry.path())), "decoded") << entry.path();
    ++seen;
  }
  EXPECT_EQ(seen, 27);
}

}  // namespace
}  // namespace pellory::data
