// Variable fonts: each named instance a face of its own, named, classified
// and drawn at its coordinates, and merged with a static file of the same
// style, which wins.
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "catalogue_build.h"
#include "face_record.h"
#include "font_facts.h"
#include "font_fixture.h"
#include "font_sources.h"
#include "glyph_raster.h"
#include "pellory/testkit/table_reader.h"
#include "record_text.h"
#include "sample_picture.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;
using testkit::ScratchDir;
using testkit::TableReader;

const fs::path kInter = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf";
const fs::path kInterRoman = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf";
constexpr char kInterAxes[] = "Axes: wght 100 to 900, default 400; slnt -10 to 0, default 0";

struct InstanceCase {
  int instance;  // fontconfig's and FreeType's number; 0 the default instance
  const char* name;
  const char* category;
  const char* instanceLine;
};

const InstanceCase kInstances[] = {
    {0, "Inter Regular", "Normal Sans Serif", "Instance: default (wght 400, slnt 0)"},
    {1, "Inter Thin", "Normal Sans Serif", "Instance: 1 (wght 100, slnt 0)"},
    {2, "Inter Thin Italic", "Italic Sans Serif", "Instance: 2 (wght 100, slnt -10)"},
    {8, "Inter Italic", "Italic Sans Serif", "Instance: 8 (wght 400, slnt -10)"},
    {13, "Inter Bold", "Normal Sans Serif", "Instance: 13 (wght 700, slnt 0)"},
    {18, "Inter Black Italic", "Italic Sans Serif", "Instance: 18 (wght 900, slnt -10)"},
};

class InterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kInter)) GTEST_SKIP() << kInter << " is not installed (fonts-inter-variable)";
  }
  FreeTypeLibrary library_ = OpenFreeType();
};

TEST_F(InterTest, EveryNamedInstanceButTheDefaultIsAFace) {
  std::vector<int> indices = FaceIndices(library_.get(), kInter, 0);
  ASSERT_EQ(indices.size(), 18u);  // the default instance and 17 others
  EXPECT_EQ(indices.front(), 0);
  EXPECT_EQ(std::count(indices.begin(), indices.end(), 7 << 16), 0)
      << "instance 7 is the default one, listed as face 0";
  EXPECT_EQ(indices.back(), 18 << 16);
}

TEST_F(InterTest, InstancesNamedClassifiedAndDescribed) {
  for (const InstanceCase& c : kInstances) {
    std::string error;
    const FontFace face = OpenFace(library_.get(), kInter, c.instance << 16, &error);
    ASSERT_TRUE(face) << error;
    const FontFacts facts = ReadFontFacts(face.get(), kInter, c.instance << 16);
    EXPECT_EQ(FontNameFor(facts.family, facts.style), c.name);
    const FaceOutcome outcome = ReadFace(face.get(), facts, c.name, {});
    ASSERT_TRUE(outcome.record) << c.name << ": " << outcome.fault;
    EXPECT_EQ(CategoryText(outcome.record->decision.category), c.category) << c.name;
    const std::string description = DescriptionFor(facts);
    EXPECT_NE(description.find(kInterAxes), std::string::npos) << description;
    EXPECT_NE(description.find(c.instanceLine), std::string::npos) << description;
    EXPECT_NE(description.find("File: " + kInter.string() + "\r\n"), std::string::npos)
        << description;
  }
}

// The sample line's ink (the name differs from face to face).
long SampleLineInk(FT_Library library, int instance) {
  const FontFace face = OpenFace(library, kInter, instance << 16, nullptr);
  if (!face) return -1;
  Shaper shaper(face.get());
  const FaceCoverage coverage = ReadFaceCoverage(face.get(), "Inter");
  const auto lines = LayoutSample(shaper, nullptr, "Inter", SampleKind::Text, coverage);
  if (lines.size() < 2) return -1;
  return std::accumulate(lines[1].ink.pixels.begin(), lines[1].ink.pixels.end(), 0L);
}

TEST_F(InterTest, InkGrowsWithWeight) {
  // Thin, Extra Light, Light, Regular, Medium, Semi Bold, Bold, Extra Bold, Black.
  long previous = 0;
  for (int instance : {1, 3, 5, 0, 9, 11, 13, 15, 17}) {
    const long ink = SampleLineInk(library_.get(), instance);
    EXPECT_GT(ink, previous) << "instance " << instance;
    previous = ink;
  }
}

// FreeType 2.12 drops the sign of slnt -10 in the named instances and
// would draw them upright: a slanted "l" is wider than an upright one.
TEST_F(InterTest, ItalicInstancesAreDrawnSlanted) {
  const auto width = [&](int instance) {
    const FontFace face = OpenFace(library_.get(), kInter, instance << 16, nullptr);
    if (!face || !SetPixelSize(face.get(), 100)) return 0;
    return RenderGlyph(face.get(), FT_Get_Char_Index(face.get(), U'l')).width;
  };
  EXPECT_GT(width(2), width(1) + 10) << "Thin Italic against Thin";
  EXPECT_GT(width(18), width(17) + 10) << "Black Italic against Black";
}

TEST_F(InterTest, AStaticFileOfTheSameStyleWinsOverTheInstances) {
  if (!fs::exists(kInterRoman)) GTEST_SKIP() << kInterRoman << " is not installed";
  const fs::path dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
  if (!fs::exists(dejavu)) GTEST_SKIP() << dejavu << " is not installed";
  ScratchDir scratch;
  const fs::path fonts = scratch.path() / "fonts";
  fs::create_directories(fonts / "static");
  fs::create_symlink(kInter, fonts / kInter.filename());
  fs::create_symlink(kInterRoman, fonts / kInterRoman.filename());
  testkit::FontFixture fixture(dejavu);
  fixture.SetNames("Inter", "Bold");
  fixture.Save(fonts / "static" / "InterBold.ttf");

  std::ostringstream log;
  const fs::path out = scratch.path() / "catalogue";
  ASSERT_EQ(
      BuildCatalogue(ParseOptions({"--fonts-dir", fonts.string(), "--plain", out.string()}), log),
      kExitOk)
      << log.str();
  TableReader reader(out, "pelloryfont.DB");
  std::map<std::string, std::string> descriptions;
  for (const auto& record : reader.Records())
    descriptions[reader.Text(record, 1)] = reader.Blob(record, 2);
  EXPECT_EQ(descriptions.size(), 18u) << log.str();
  ASSERT_TRUE(descriptions.count("Inter Bold"));
  EXPECT_NE(descriptions["Inter Bold"].find("File: " + (fonts / "static/InterBold.ttf").string()),
            std::string::npos);
  EXPECT_EQ(descriptions["Inter Bold"].find("Axes:"), std::string::npos);
  EXPECT_NE(log.str().find("one record for Inter Bold: kept " +
                           (fonts / "static/InterBold.ttf").string() + " (TrueType); left out " +
                           (fonts / "Inter-roman.var.ttf").string() + " instance 7 (TrueType), " +
                           (fonts / "Inter.var.ttf").string() + " instance 13 (TrueType)"),
            std::string::npos)
      << log.str();
  EXPECT_NE(log.str().find("28 faces listed: 18 records, 10 copies of other faces left out, 0 "
                           "damaged and 0 unreadable left out"),
            std::string::npos)
      << log.str();
}

}  // namespace
}  // namespace pellory::mkcatalogue
