// The machine's font listing: every face fontconfig lists, named instances
// of variable fonts included, read from a private configuration over a
// folder of Debian fonts and checked against fc-list on the same folder.
#include "pellory/platform/installed_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>

#include "scratch_dir.h"

namespace pellory::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::array kFonts = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf",
};

// A folder holding links to the fonts and a configuration naming it alone.
class PrivateFonts : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* font : kFonts)
      if (!fs::exists(font)) GTEST_SKIP() << font << " is not installed";
    fs::create_directory(dir_.path() / "fonts");
    for (const char* font : kFonts)
      fs::create_symlink(font, dir_.path() / "fonts" / fs::path(font).filename());
    std::ofstream(dir_.path() / "fonts" / "README") << "not a font\n";
    config_ = dir_.path() / "fonts.conf";
    std::ofstream(config_) << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>"
                           << (dir_.path() / "fonts").string() << "</dir>\n  <cachedir>"
                           << (dir_.path() / "cache").string() << "</cachedir>\n</fontconfig>\n";
    faces_ = ListInstalledFaces(config_);
  }

  const InstalledFace* Find(const std::string& file, long index) const {
    const fs::path path = dir_.path() / "fonts" / file;
    const auto it = std::find_if(faces_.begin(), faces_.end(), [&](const InstalledFace& f) {
      return f.file == path.string() && f.index == index;
    });
    return it == faces_.end() ? nullptr : &*it;
  }

  // fc-list's lines on the private configuration.
  std::vector<std::string> FcList(const std::string& arguments) const {
    const std::string command = "FONTCONFIG_FILE='" + config_.string() + "' fc-list " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run fc-list");
    std::vector<std::string> lines;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
      std::string line = buffer;
      if (!line.empty() && line.back() == '\n') line.pop_back();
      lines.push_back(line);
    }
    if (pclose(pipe) != 0) throw std::runtime_error("fc-list failed");
    return lines;
  }

  testkit::ScratchDir dir_{"pellory-fonts"};
  fs::path config_;
  std::vector<InstalledFace> faces_;
};

TEST_F(PrivateFonts, EveryFaceFcListListsOnceWithItsFileAndIndex) {
  std::set<std::string> ours, theirs;
  for (const InstalledFace& face : faces_)
    EXPECT_TRUE(ours.insert(face.file + ":" + std::to_string(face.index)).second)
        << face.file << " " << face.index << " listed twice";
  for (const std::string& line : FcList("--format '%{file}:%{index}\\n'")) theirs.insert(line);
  EXPECT_EQ(ours, theirs);
  // 5 DejaVu faces, the 10 of the collection, Inter's default and 8 named
  // instances; not the README.
  EXPECT_EQ(faces_.size(), 5u + 10u + 9u);
}

TEST_F(PrivateFonts, FamiliesAreThoseFcListPrints) {
  std::set<std::string> expected;
  for (const std::string& line : FcList(": family")) {
    // fc-list joins a face's names with commas.
    for (std::size_t start = 0; start <= line.size();) {
      const std::size_t comma = std::min(line.find(',', start), line.size());
      expected.insert(line.substr(start, comma - start));
      start = comma + 1;
    }
  }
  const std::vector<std::string> names = FamilyNames(faces_);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size())
      << "each name once";
  EXPECT_EQ(std::count(names.begin(), names.end(), "Default"), 0);
}

TEST_F(PrivateFonts, StaticFacesWithTheirClassification) {
  const struct {
    const char* file;
    const char* family;
    const char* style;
    double weight;
    int slant, spacing;
  } cases[] = {
      {"DejaVuSans.ttf", "DejaVu Sans", "Book", 80, 0, 0},
      {"DejaVuSans-Bold.ttf", "DejaVu Sans", "Bold", 200, 0, 0},
      {"DejaVuSansMono.ttf", "DejaVu Sans Mono", "Book", 80, 0, 100},
      {"DejaVuSerif-Italic.ttf", "DejaVu Serif", "Italic", 80, 100, 0},
  };
  for (const auto& c : cases) {
    const InstalledFace* face = Find(c.file, 0);
    ASSERT_NE(face, nullptr) << c.file;
    EXPECT_EQ(face->Family(), c.family) << c.file;
    EXPECT_EQ(face->style, c.style) << c.file;
    EXPECT_EQ(face->fullName, std::string(c.family) + (c.style == std::string("Book") ? "" : " ") +
                                  (c.style == std::string("Book") ? "" : c.style))
        << c.file;
    EXPECT_EQ(face->weight, c.weight) << c.file;
    EXPECT_EQ(face->slant, c.slant) << c.file;
    EXPECT_EQ(face->spacing, c.spacing) << c.file;
    EXPECT_EQ(face->width, 100) << c.file;
    EXPECT_EQ(face->format, "TrueType") << c.file;
    EXPECT_EQ(face->foundry, "PfEd") << c.file;
    EXPECT_FALSE(face->namedInstance) << c.file;
  }
}

TEST_F(PrivateFonts, CollectionFacesByTheirNumber) {
  for (long index = 0; index < 10; ++index) {
    const InstalledFace* face = Find("NotoSansCJK-Regular.ttc", index);
    ASSERT_NE(face, nullptr) << index;
    EXPECT_EQ(face->FaceNumber(), index);
    EXPECT_EQ(face->InstanceNumber(), 0);
    EXPECT_FALSE(face->namedInstance);
    EXPECT_EQ(face->format, "CFF");
    EXPECT_EQ(face->Family().rfind("Noto Sans", 0), 0u) << face->Family();
  }
  const InstalledFace* japanese = Find("NotoSansCJK-Regular.ttc", 0);
  ASSERT_NE(japanese, nullptr);
  EXPECT_EQ(japanese->families, (std::vector<FamilyName>{{"Noto Sans CJK JP", "en"}}));
}

TEST_F(PrivateFonts, FurtherFamilyNamesInTheirOrder) {
  const InstalledFace* condensed = Find("DejaVuSansCondensed-Bold.ttf", 0);
  ASSERT_NE(condensed, nullptr);
  EXPECT_EQ(condensed->families,
            (std::vector<FamilyName>{{"DejaVu Sans", "en"}, {"DejaVu Sans Condensed", "en"}}));
  EXPECT_EQ(condensed->Family(), "DejaVu Sans");
  EXPECT_EQ(condensed->style, "Condensed Bold");
  EXPECT_EQ(condensed->width, 87);
  EXPECT_EQ(condensed->weight, 200);
}

TEST_F(PrivateFonts, NamedInstancesOfAVariableFont) {
  const struct {
    long instance;
    const char* style;
    double weight;
  } cases[] = {
      {0, "Regular", 80}, {1, "Thin", 0},         {2, "Extra Light", 40},
      {3, "Light", 50},   {5, "Medium", 100},     {6, "Semi Bold", 180},
      {7, "Bold", 200},   {8, "Extra Bold", 205}, {9, "Black", 210},
  };
  for (const auto& c : cases) {
    const InstalledFace* face = Find("Inter-roman.var.ttf", c.instance << 16);
    ASSERT_NE(face, nullptr) << c.style;
    EXPECT_EQ(face->Family(), "Inter") << c.style;
    EXPECT_EQ(face->style, c.style);
    EXPECT_EQ(face->weight, c.weight) << c.style;
    EXPECT_EQ(face->namedInstance, c.instance != 0) << c.style;
    EXPECT_EQ(face->InstanceNumber(), c.instance);
    EXPECT_EQ(face->FaceNumber(), 0);
  }
  // Instance 4 is the default one, listed once as the file's face.
  EXPECT_EQ(Find("Inter-roman.var.ttf", 4L << 16), nullptr);
  // No entry for the variable font as a whole (its axes' ranges, no style).
  for (const InstalledFace& face : faces_) EXPECT_FALSE(face.style.empty()) << face.file;
}

TEST(InstalledFonts, AConfigurationThatCannotBeReadThrows) {
  testkit::ScratchDir dir("pellory-fonts");
  EXPECT_THROW(ListInstalledFaces(dir.path() / "missing.conf"), std::runtime_error);
}

TEST(InstalledFonts, TheMachinesListIsAskedOnce) {
  const std::vector<InstalledFace>& faces = InstalledFaces();
  EXPECT_EQ(&faces, &InstalledFaces());
  if (faces.empty()) GTEST_SKIP() << "fontconfig lists no fonts on this machine";
  EXPECT_EQ(faces.size(), ListInstalledFaces().size());
  for (const InstalledFace& face : faces) EXPECT_FALSE(face.file.empty());
}

}  // namespace
}  // namespace pellory::platform
