// Which file a face keeps when several hold it, and which faces are one.
#include "face_merge.h"

#include <gtest/gtest.h>

namespace pellory::mkcatalogue {
namespace {

FontFacts Face(const char* family, const char* style, const char* format, std::uint32_t glyphs,
               const char* path) {
  FontFacts f;
  f.family = family;
  f.style = style;
  f.format = format;
  f.glyphs = glyphs;
  f.path = path;
  return f;
}

struct MergeCase {
  const char* label;
  std::vector<FontFacts> files;
  std::vector<std::string> kept;  // paths, in catalogue order
};

std::vector<MergeCase> MergeCases() {
  return {
      {"OpenTypeBeforeType1",
       {Face("C059", "Bold", "Type 1", 900, "/a/C059-Bold.pfb"),
        Face("C059", "Bold", "CFF", 850, "/b/C059-Bold.otf"),
        Face("C059", "Bold", "Type 1", 900, "/c/C059-Bold.t1")},
       {"/b/C059-Bold.otf"}},
      {"TrueTypeBeforeBitmap",
       {Face("Fixed", "Regular", "PCF", 4000, "/a/6x13.pcf.gz"),
        Face("Fixed", "Regular", "TrueType", 200, "/b/fixed.ttf")},
       {"/b/fixed.ttf"}},
      {"Type1BeforeBitmap",
       {Face("Fixed", "Regular", "BDF", 900, "/a/fixed.bdf"),
        Face("Fixed", "Regular", "Type 1", 300, "/b/fixed.pfb")},
       {"/b/fixed.pfb"}},
      {"MoreGlyphsInOneFormat",
       {Face("Sans", "Book", "TrueType", 300, "/a/sans.ttf"),
        Face("Sans", "Book", "TrueType", 3000, "/b/sans.ttf")},
       {"/b/sans.ttf"}},
      {"FirstPathWhenAlike",
       {Face("Sans", "Book", "TrueType", 300, "/b/sans.ttf"),
        Face("Sans", "Book", "TrueType", 300, "/a/sans.ttf")},
       {"/a/sans.ttf"}},
      {"CaseDoesNotMatter",
       {Face("DejaVu Sans", "Book", "TrueType", 300, "/a/1.ttf"),
        Face("dejavu sans", "BOOK", "TrueType", 300, "/a/2.ttf")},
       {"/a/1.ttf"}},
      {"SameNameSplitOtherwise",
       {Face("Foo Bold", "Italic", "Type 1", 300, "/a/foo.pfb"),
        Face("Foo", "Bold Italic", "TrueType", 300, "/a/foo.ttf")},
       {"/a/foo.ttf"}},
      {"StylesStayApartInFamilyOrder",
       {Face("Sans", "Oblique", "TrueType", 300, "/a/3.ttf"),
        Face("sans", "Bold", "TrueType", 300, "/a/2.ttf"),
        Face("Mono", "Book", "TrueType", 300, "/a/1.ttf")},
       {"/a/1.ttf", "/a/2.ttf", "/a/3.ttf"}},
      {"NamesAlikeOnlyInTheirFirst45Characters",
       {Face("A Family Name Long Enough To Pass The Column Width", "Regular", "TrueType", 1,
             "/a/2.ttf"),
        Face("A Family Name Long Enough To Pass The Column Width", "Bold", "TrueType", 1,
             "/a/1.ttf")},
       {"/a/1.ttf", "/a/2.ttf"}},
  };
}

void PrintTo(const MergeCase& c, std::ostream* os) {
  *os << c.label;
}

class MergeTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeTest, KeepsTheRichestFileOfEachFace) {
  const auto merged = MergeSameFaces(GetParam().files);
  std::vector<std::string> kept;
  std::size_t total = 0;
  for (const auto& face : merged) {
    kept.push_back(face.kept.path.string());
    total += 1 + face.leftOut.size();
    for (const auto& other : face.leftOut) EXPECT_EQ(FaceKey(other), FaceKey(face.kept));
  }
  EXPECT_EQ(kept, GetParam().kept);
  EXPECT_EQ(total, GetParam().files.size());  // every file kept or named as left out
}

INSTANTIATE_TEST_SUITE_P(Faces, MergeTest, ::testing::ValuesIn(MergeCases()),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(FormatRankTest, OpenTypeThenType1ThenBitmapsThenTheRest) {
  const std::vector<std::pair<const char*, int>> ranks = {
      {"TrueType", 0}, {"CFF", 0}, {"Type 1", 1},      {"CID Type 1", 1}, {"Type 42", 1},
      {"PCF", 2},      {"BDF", 2}, {"Windows FNT", 2}, {"", 3},           {"type 1", 3}};
  for (const auto& [format, rank] : ranks) EXPECT_EQ(FormatRank(format), rank) << format;
}

}  // namespace
}  // namespace pellory::mkcatalogue
