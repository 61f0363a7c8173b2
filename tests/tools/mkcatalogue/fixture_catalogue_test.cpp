// Catalogues built from fonts made for the test: each fixture differs from
// DejaVu Sans in one property, which must decide its category; and a face
// installed in several formats gives one record.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "catalogue_build.h"
#include "catalogue_columns.h"
#include "font_fixture.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;
using testkit::FontFixture;
using testkit::ScratchDir;
using testkit::TableReader;

const fs::path kSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// `extra` and the characters from `first` to `last`.
std::u32string Range(char32_t first, char32_t last, std::u32string_view extra = {}) {
  std::u32string s(extra);
  for (char32_t c = first; c <= last; ++c) s.push_back(c);
  return s;
}

struct FixtureCase {
  const char* family;
  void (*make)(FontFixture&);
  const char* category;
  const char* rule;  // the start of the report's rule text
};

// DejaVu Sans's own glyphs, mapped as a fixture needs.
std::map<char32_t, std::uint16_t> Glyphs(std::u32string_view characters) {
  return testkit::GlyphsOf(kSource, characters);
}

const FixtureCase kFixtureCases[] = {
    {"Fixture Plain", [](FontFixture&) {}, "Normal Sans Serif", "upright; sans serif by PANOSE"},
    {"Fixture Hand",
     [](FontFixture& f) {
       f.SetPanose({3, 0, 6, 0, 0, 0, 0, 0, 0, 0});
     },
     "Handwriting", "PANOSE family kind 3 (hand written)"},
    {"Fixture Script Class", [](FontFixture& f) { f.SetFamilyClass(10); }, "Handwriting",
     "IBM family class 10"},
    {"Fixture Capitals Only",
     [](FontFixture& f) {
       f.SetCharacterMap(Glyphs(Range(U'A', U'Z', U" 0123456789")), FontFixture::MapKind::Unicode);
     },
     "Capitals Sans Serif", "no small letters: 26 capitals, 0 small letters"},
    {"Fixture Same Capitals",
     [](FontFixture& f) {
       auto glyphs = Glyphs(Range(U'A', U'Z', U" "));
       for (char32_t c = U'a'; c <= U'z'; ++c) glyphs[c] = glyphs[c - 0x20];
       f.SetCharacterMap(glyphs, FontFixture::MapKind::Unicode);
     },
     "Capitals Sans Serif", "its small letters are drawn as capitals"},
    {"Fixture Decorative Capitals",
     [](FontFixture& f) {
       f.SetPanose({4, 0, 6, 0, 0, 0, 0, 0, 0, 5});
     },
     "Capitals Sans Serif", "PANOSE character range 5 (small capitals)"},
    {"Fixture Symbol Map",
     [](FontFixture& f) {
       // Letters at the codes of a symbol font, as old Windows symbol faces
       // place their signs: the map is what tells.
       std::map<char32_t, std::uint16_t> glyphs;
       for (const auto& [c, glyph] : Glyphs(Range(U' ', U'z'))) glyphs[0xF000 + c] = glyph;
       f.SetCharacterMap(glyphs, FontFixture::MapKind::Symbol);
     },
     "Wingdings", "a symbol character map"},
    {"Fixture No Letters",
     [](FontFixture& f) {
       f.SetCharacterMap(Glyphs(U" 0123456789+-=<>%"), FontFixture::MapKind::Unicode);
     },
     "Wingdings", "no letters of any script: 0 Latin capitals, 0 small letters"},
    {"Fixture Mostly Symbols",
     [](FontFixture& f) {
       // An alphabet, and more arrows, signs and pictographs than letters,
       // as icon faces hold.
       auto glyphs = Glyphs(Range(U'A', U'Z', U"abcdefghijklmnopqrstuvwxyz"));
       std::uint16_t glyph = 3;
       for (char32_t c = 0x2600; c < 0x2640; ++c) glyphs[c] = glyph++;
       f.SetCharacterMap(glyphs, FontFixture::MapKind::Unicode);
     },
     "Wingdings", "mostly symbols: 64 of 116 characters"},
    {"Fixture Pictorial",
     [](FontFixture& f) {
       f.SetPanose({5, 0, 0, 0, 0, 0, 0, 0, 0, 0});
     },
     "Wingdings", "PANOSE family kind 5 (pictorial)"},
};

class FixtureCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kSource)) GTEST_SKIP() << kSource << " is not installed";
    fonts_ = scratch_.path() / "fonts";
    fs::create_directories(fonts_);
  }
  int Build(const fs::path& out) {
    log_.str("");
    report_.str("");
    return BuildCatalogue(
        ParseOptions({"--fonts-dir", fonts_.string(), "--plain", "--report", out.string()}), log_,
        report_);
  }
  // Report lines by record name: category, rule, file.
  std::map<std::string, std::vector<std::string>> ReportLines() const {
    std::map<std::string, std::vector<std::string>> lines;
    std::istringstream in(report_.str());
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> fields;
      std::istringstream cells(line);
      for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
      EXPECT_EQ(fields.size(), 4u) << line;
      if (fields.size() == 4) lines[fields[0]] = {fields[1], fields[2], fields[3]};
    }
    return lines;
  }

  ScratchDir scratch_;
  fs::path fonts_;
  std::ostringstream log_, report_;
};

TEST_F(FixtureCatalogueTest, EachFixtureInItsCategoryByItsRule) {
  int n = 0;
  for (const auto& c : kFixtureCases) {
    FontFixture fixture(kSource);
    fixture.SetNames(c.family, "Regular");
    c.make(fixture);
    fixture.Save(fonts_ / (std::to_string(++n) + ".ttf"));
  }
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(Build(out), kExitOk) << log_.str();
  TableReader reader(out, "pelloryfont.DB");
  std::map<std::string, std::string> categories;
  for (const auto& record : reader.Records())
    categories[reader.Text(record, kFontName)] = reader.Text(record, kCategory);
  const auto report = ReportLines();
  EXPECT_EQ(categories.size(), std::size(kFixtureCases));
  for (const auto& c : kFixtureCases) {
    const std::string name = std::string(c.family) + " Regular";
    SCOPED_TRACE(name);
    ASSERT_TRUE(categories.count(name));
    EXPECT_EQ(categories[name], c.category);
    ASSERT_TRUE(report.count(name));
    EXPECT_EQ(report.at(name)[0], c.category);
    EXPECT_EQ(report.at(name)[1].rfind(c.rule, 0), 0u) << report.at(name)[1];
  }
}

TEST_F(FixtureCatalogueTest, NamesThatMeetInTheTableStayApart) {
  // "Fixture Bold" + "Italic" and "Fixture" + "Bold Italic" are one name and
  // merge as one face. The two long names are different faces whose first
  // 45 characters, all the column holds, are the same: the second is
  // numbered within the 45.
  const std::string longName = "Fixture Family With A Name Longer Than The Column";
  const std::pair<std::string, std::string> names[] = {{"Fixture Bold", "Italic"},
                                                       {"Fixture", "Bold Italic"},
                                                       {longName, "Regular"},
                                                       {longName, "Bold"}};
  int n = 0;
  for (const auto& [family, style] : names) {
    FontFixture fixture(kSource);
    fixture.SetNames(family, style);
    fixture.Save(fonts_ / (std::to_string(++n) + ".ttf"));
  }
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(Build(out), kExitOk) << log_.str();
  TableReader reader(out, "pelloryfont.DB");
  std::vector<std::string> stored;
  for (const auto& record : reader.Records()) stored.push_back(reader.Text(record, kFontName));
  const std::string cut = longName.substr(0, 45);
  EXPECT_EQ(stored, (std::vector<std::string>{"Fixture Bold Italic", cut,
                                              longName.substr(0, 41) + " (2)"}));
  EXPECT_NE(
      log_.str().find("one record for Fixture Bold Italic: kept " + (fonts_ / "1.ttf").string()),
      std::string::npos)
      << log_.str();
}

TEST_F(FixtureCatalogueTest, NamesBeyondAsciiKeepTheirFacesApart) {
  // FreeType reads both families as "Fixtur?"; the naming table tells them
  // apart, and the table's code page has both letters.
  int n = 0;
  for (const char* family : {"Fixtur\xE9", "Fixtur\xE8"}) {  // Latin-1
    FontFixture fixture(kSource);
    fixture.SetNames(family, "Regular");
    fixture.Save(fonts_ / (std::to_string(++n) + ".ttf"));
  }
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(Build(out), kExitOk) << log_.str();
  TableReader reader(out, "pelloryfont.DB");
  std::vector<std::string> stored;
  for (const auto& record : reader.Records()) stored.push_back(reader.Text(record, kFontName));
  EXPECT_EQ(stored, (std::vector<std::string>{"Fixtur\xE8 Regular", "Fixtur\xE9 Regular"}));
  EXPECT_EQ(log_.str().find("one record for"), std::string::npos) << log_.str();
}

TEST_F(FixtureCatalogueTest, FaceInThreeFormatsGivesOneRecordFromTheOpenTypeFile) {
  const fs::path urw = "/usr/share/fonts";
  const fs::path files[] = {urw / "opentype/urw-base35/C059-Roman.otf",
                            urw / "type1/urw-base35/C059-Roman.t1",
                            urw / "X11/Type1/C059-Roman.pfb"};
  for (const auto& file : files) {
    if (!fs::exists(file)) GTEST_SKIP() << file << " is not installed";
    fs::copy_file(file, fonts_ / file.filename());
  }
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(Build(out), kExitOk) << log_.str();
  TableReader reader(out, "pelloryfont.DB");
  const auto records = reader.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(reader.Text(records[0], kFontName), "C059 Roman");
  EXPECT_EQ(reader.Text(records[0], kFileName), "C059-R~1.OTF");
  const std::string description = reader.Blob(records[0], kDescription);
  EXPECT_NE(description.find("File: " + (fonts_ / "C059-Roman.otf").string()), std::string::npos)
      << description;
  const std::string log = log_.str();
  EXPECT_NE(log.find("one record for C059 Roman: kept " + (fonts_ / "C059-Roman.otf").string() +
                     " (CFF); left out " + (fonts_ / "C059-Roman.pfb").string() + " (Type 1), " +
                     (fonts_ / "C059-Roman.t1").string() + " (Type 1)"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("3 faces listed: 1 record, 2 copies of other faces left out, 0 damaged and 0 "
                     "unreadable left out"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace pellory::mkcatalogue
