// Whole catalogues built from font directories, fontconfig's fonts and
// generated records, read back through the engine.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "catalogue_build.h"
#include "catalogue_columns.h"
#include "font_sources.h"
#include "pellory/testkit/little_endian.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;
using testkit::FileBytes;
using testkit::ScratchDir;
using testkit::TableReader;
using testkit::U32;

const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf",
    "/usr/share/fonts/opentype/urw-base35/D050000L.otf",
    "/usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf",
};

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fonts_ = scratch_.path() / "fonts";
    fs::create_directories(fonts_);
    for (const char* file : kFontFiles)
      if (fs::exists(file)) fs::create_symlink(file, fonts_ / fs::path(file).filename());
    if (fs::is_empty(fonts_)) GTEST_SKIP() << "none of the sample fonts is installed";
    linked_ = static_cast<std::size_t>(std::distance(fs::directory_iterator(fonts_), {}));
  }
  int Build(std::vector<std::string> args, const fs::path& output) {
    args.push_back(output.string());
    log_.str("");
    return BuildCatalogue(ParseOptions(args), log_);
  }
  int BuildFromFonts(const fs::path& output, std::vector<std::string> extra = {}) {
    extra.insert(extra.begin(), {"--fonts-dir", fonts_.string()});
    return Build(extra, output);
  }

  ScratchDir scratch_;
  fs::path fonts_;
  std::size_t linked_ = 0;
  std::ostringstream log_;
};

TEST_F(CatalogueTest, OneRecordPerFaceReadableWithThePasswordOnly) {
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(BuildFromFonts(out), kExitOk) << log_.str();
  EXPECT_TRUE(fs::exists(out / "pelloryfont.MB"));
  EXPECT_EQ(TableReader(out, "pelloryfont.DB").result(), PEL_PASSWORD_NEEDED);
  EXPECT_EQ(TableReader(out, "pelloryfont.DB", {"mirabo"}).result(), PEL_OK);
  TableReader reader(out, "pelloryfont.DB", {"mirabo"});
  const auto records = reader.Records();
  EXPECT_EQ(records.size(), linked_);
  const std::vector<std::pair<std::string, std::uint16_t>> schema = {
      {"Font Name", 45}, {"Description", 50}, {"Filename", 13}, {"Category", 55}, {"Sample3", 10}};
  for (std::size_t i = 0; i < schema.size(); ++i) {
    EXPECT_EQ(reader.fields()[i].name, schema[i].first);
    EXPECT_EQ(reader.fields()[i].length, schema[i].second);
  }
  EXPECT_EQ(reader.fields()[1].subtype, PEL_SUB_MEMO);
  EXPECT_EQ(reader.fields()[4].subtype, PEL_SUB_GRAPHIC);
  std::set<std::string> names;
  std::string previous;
  for (const auto& record : records) {
    const std::string fontName = reader.Text(record, kFontName);
    EXPECT_LE(previous, fontName);  // family, then style
    previous = fontName;
    EXPECT_TRUE(names.insert(reader.Text(record, kFileName)).second);
    const std::string description = reader.Blob(record, kDescription);
    EXPECT_EQ(description.rfind("Family: ", 0), 0u) << description;
    EXPECT_NE(description.find("\r\nFile: " + fonts_.string()), std::string::npos);
  }
}

TEST_F(CatalogueTest, EachFaceInItsCategory) {
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(BuildFromFonts(out, {"--plain"}), kExitOk) << log_.str();
  TableReader reader(out, "pelloryfont.DB");
  ASSERT_EQ(reader.result(), PEL_OK);
  std::map<std::string, std::string> categories;
  for (const auto& record : reader.Records())
    categories[reader.Text(record, kFileName)] = reader.Text(record, kCategory);
  const std::map<std::string, std::string> expected = {
      // Records come by family: DejaVu Sans gets the first short name.
      {"DEJAVU~2.TTF", "Normal Serif"},
      {"DEJAVU~1.TTF", "Normal Sans Serif"},
      {"LIBERA~1.TTF", "Italic Sans Serif"},
      {"D050000L.otf", "Wingdings"},
      {"DANCIN~1.OTF", "Handwriting"}};
  for (const auto& [file, category] : categories) {
    ASSERT_TRUE(expected.count(file)) << file;
    EXPECT_EQ(category, expected.at(file)) << file;
  }
}

TEST_F(CatalogueTest, PicturesHaveTheGraphicHeaderThenABitmapThatFitsTheBox) {
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(BuildFromFonts(out), kExitOk) << log_.str();
  TableReader reader(out, "pelloryfont.DB", {"mirabo"});
  for (const auto& record : reader.Records()) {
    const std::string picture = reader.Blob(record, kSample);
    SCOPED_TRACE(reader.Text(record, kFontName));
    ASSERT_GT(picture.size(), 8u + 54);
    EXPECT_EQ(picture.substr(0, 4), std::string("\x01\x00\x00\x01", 4));
    EXPECT_EQ(U32(picture, 4), picture.size() - 8);
    EXPECT_EQ(picture.substr(8, 2), "BM");
    EXPECT_EQ(U32(picture, 8 + 2), picture.size() - 8);  // the file's own size
    const std::uint32_t width = U32(picture, 8 + 18), height = U32(picture, 8 + 22);
    EXPECT_GE(width, 1u);
    EXPECT_LE(width, 356u);
    EXPECT_GE(height, 1u);
    EXPECT_LE(height, 124u);
  }
}

TEST_F(CatalogueTest, RerunsGiveIdenticalFiles) {
  const fs::path first = scratch_.path() / "first", second = scratch_.path() / "second";
  ASSERT_EQ(BuildFromFonts(first), kExitOk) << log_.str();
  ASSERT_EQ(BuildFromFonts(second), kExitOk) << log_.str();
  for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
    EXPECT_EQ(FileBytes(first / file), FileBytes(second / file)) << file;
}

TEST_F(CatalogueTest, BrokenFontIsSkippedWithOneWarning) {
  std::ofstream(fonts_ / "broken.ttf") << "not a font at all";
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(BuildFromFonts(out, {"--quiet"}), kExitOk) << log_.str();
  const std::string log = log_.str();
  EXPECT_NE(log.find("warning: skipped " + (fonts_ / "broken.ttf").string()), std::string::npos)
      << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_EQ(TableReader(out, "pelloryfont.DB", {"mirabo"}).Records().size(), linked_);
}

TEST_F(CatalogueTest, ExistingDirectoryGetsTheNewCatalogue) {
  const fs::path out = scratch_.path() / "catalogue";
  fs::create_directories(out);
  std::ofstream(out / "pelloryfont.DB") << "old";
  std::ofstream(out / "keep.txt") << "other file";
  ASSERT_EQ(BuildFromFonts(out, {"--password", "other"}), kExitOk) << log_.str();
  EXPECT_TRUE(fs::exists(out / "keep.txt"));
  EXPECT_EQ(TableReader(out, "pelloryfont.DB", {"other"}).Records().size(), linked_);
  // Nothing of the staging directory is left beside the target.
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch_.path()), {}), 2);
}

TEST_F(CatalogueTest, FailuresGiveTheirExitCodeAndLeaveNothing) {
  const fs::path empty = scratch_.path() / "empty";
  fs::create_directories(empty);
  EXPECT_EQ(Build({"--fonts-dir", empty.string()}, scratch_.path() / "a"), kExitNoFonts);
  EXPECT_NE(log_.str().find("no fonts found"), std::string::npos);
  std::ofstream(empty / "junk.otf") << "junk";
  EXPECT_EQ(Build({"--fonts-dir", empty.string()}, scratch_.path() / "b"), kExitNoFonts);
  EXPECT_EQ(Build({"--fonts-dir", (empty / "missing").string()}, scratch_.path() / "c"),
            kExitFailed);
  EXPECT_NE(log_.str().find("no font directory " + (empty / "missing").string()),
            std::string::npos);
  const fs::path file = scratch_.path() / "a-file";
  std::ofstream(file) << "x";
  EXPECT_EQ(BuildFromFonts(file / "catalogue"), kExitFailed);
  EXPECT_NE(log_.str().find(file.string()), std::string::npos) << log_.str();
  EXPECT_EQ(BuildFromFonts(file), kExitFailed);  // a file is in the way
  EXPECT_FALSE(fs::exists(scratch_.path() / "a"));
  EXPECT_FALSE(fs::exists(scratch_.path() / "b"));
  EXPECT_FALSE(fs::exists(scratch_.path() / "c"));
  for (const auto& entry : fs::directory_iterator(scratch_.path()))
    EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
}

// Faces as fontconfig tells them apart: the first family and style name of
// each face it lists, named instances of variable fonts left out.
std::set<std::string> FontconfigFaceNames() {
  std::set<std::string> names;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_VARIABLE, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8 *family = nullptr, *style = nullptr;
    FcBool variable = FcFalse;
    FcPatternGetBool(set->fonts[i], FC_VARIABLE, 0, &variable);
    // Named instances are faces; the entry for a variable font as a whole is not.
    if (variable || FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch ||
        FcPatternGetString(set->fonts[i], FC_STYLE, 0, &style) != FcResultMatch)
      continue;
    std::string name = std::string(reinterpret_cast<const char*>(family)) + " " +
                       reinterpret_cast<const char*>(style);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.insert(name);
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return names;
}

TEST(MachineCatalogueTest, OneRecordForEachFaceFontconfigTellsApart) {
  const auto faces = FontconfigFaceNames();
  if (faces.empty()) GTEST_SKIP() << "fontconfig lists no fonts";
  ScratchDir scratch;
  std::ostringstream log, report;
  ASSERT_EQ(BuildCatalogue(ParseOptions({"--quiet", "--report", (scratch.path() / "c").string()}),
                           log, report),
            kExitOk)
      << log.str();
  // With --quiet only warnings are logged: a font that cannot be read.
  const std::string warnings = log.str();
  TableReader reader(scratch.path() / "c", "pelloryfont.DB", {"mirabo"});
  const auto records = reader.Records();
  std::set<std::string> names;
  std::map<std::string, std::string> categories;
  for (const auto& record : records) {
    std::string name = reader.Text(record, kFontName);
    categories[name] = reader.Text(record, kCategory);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(names.insert(name).second) << "repeated: " << name;
  }
  if (warnings.empty())
    EXPECT_EQ(records.size(), faces.size());
  else
    EXPECT_LE(records.size(), faces.size()) << warnings;
  const std::string reportText = report.str();
  EXPECT_EQ(static_cast<std::size_t>(std::count(reportText.begin(), reportText.end(), '\n')),
            records.size());
  // URW's chancery face, where installed.
  if (categories.count("Z003 Medium Italic")) {
    EXPECT_EQ(categories["Z003 Medium Italic"], "Handwriting");
  }
}

TEST(SyntheticCatalogueTest, CountsAndCategoryMix) {
  ScratchDir scratch;
  std::ostringstream log;
  const fs::path out = scratch.path() / "synthetic";
  ASSERT_EQ(BuildCatalogue(ParseOptions({"--synthetic", "5000", "--category-mix",
                                         "Normal Serif=3,Wingdings=1", "--quiet", out.string()}),
                           log),
            kExitOk)
      << log.str();
  TableReader reader(out, "pelloryfont.DB", {"mirabo"});
  const auto records = reader.Records();
  ASSERT_EQ(records.size(), 5000u);
  std::map<std::string, int> counts;
  std::set<std::string> names;
  for (const auto& record : records) {
    ++counts[reader.Text(record, kCategory)];
    names.insert(reader.Text(record, kFileName));
  }
  EXPECT_EQ(counts["Normal Serif"], 3750);
  EXPECT_EQ(counts["Wingdings"], 1250);
  EXPECT_EQ(names.size(), 5000u);
  const std::string picture = reader.Blob(records.back(), kSample);
  EXPECT_EQ(U32(picture, 4), picture.size() - 8);
  EXPECT_EQ(picture.substr(8, 2), "BM");
  EXPECT_EQ(reader.Text(records.back(), kFileName), "S0005000.TTF");
}

TEST(SyntheticCatalogueTest, LargestCountsFitOneTable) {
  for (const char* count : {"1", "200000"}) {
    ScratchDir scratch;
    std::ostringstream log;
    const fs::path out = scratch.path() / "synthetic";
    ASSERT_EQ(BuildCatalogue(
                  ParseOptions({"--synthetic", count, "--plain", "--quiet", out.string()}), log),
              kExitOk)
        << log.str();
    TableReader reader(out, "pelloryfont.DB");
    ASSERT_EQ(reader.result(), PEL_OK);
    EXPECT_EQ(reader.Records().size(), std::stoul(count));
  }
}

}  // namespace
}  // namespace pellory::mkcatalogue
