// Damaged copies of intact Debian faces, made here, beside the intact
// faces: each left out with one warning in words, the intact face kept
// whatever the paths, the counts honest; through --fonts-dir and through
// fontconfig with a private configuration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

#include "catalogue_build.h"
#include "font_fixture.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;
using testkit::FontFixture;
using testkit::ScratchDir;
using testkit::TableReader;
using Damage = FontFixture::Damage;

const fs::path kKristi = "/usr/share/fonts/truetype/kristi/Kristi.ttf";
const fs::path kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct DamageCase {
  const char* label;
  Damage damage;
  // In the warning: one of these, "|" between them.
  const char* words;
};

const DamageCase kDamages[] = {
    // FreeType refuses DejaVu Sans cut short; it opens Kristi without the
    // tables it lost.
    {"CutInHalf", Damage::CutInHalf, "unknown file format|runs past the end of the file"},
    {"NoHorizontalMetrics", Damage::NoHorizontalMetrics, "horizontal metrics (hhea, hmtx)"},
    {"NoiseInGlyphs", Damage::NoiseInGlyphs, "does not load"},
    {"ZeroedDirectory", Damage::ZeroedDirectory, "unknown file format"},
};

bool HasOneOf(const std::string& line, std::string_view alternatives) {
  for (std::size_t start = 0; start <= alternatives.size();) {
    const std::size_t bar = std::min(alternatives.find('|', start), alternatives.size());
    if (line.find(alternatives.substr(start, bar - start)) != std::string::npos) return true;
    start = bar + 1;
  }
  return false;
}

// A folder whose damaged copies sort before the intact faces.
class DamagedFacesTest : public ::testing::TestWithParam<DamageCase> {
 protected:
  void SetUp() override {
    for (const fs::path& font : {kKristi, kDejaVu})
      if (!fs::exists(font)) GTEST_SKIP() << font << " is not installed";
    fonts_ = scratch_.path() / "fonts";
    fs::create_directories(fonts_ / "a-damaged");
    fs::create_directories(fonts_ / "intact");
    for (const fs::path& font : {kKristi, kDejaVu}) {
      fs::create_symlink(font, fonts_ / "intact" / font.filename());
      FontFixture copy(font);
      copy.Apply(GetParam().damage);
      copy.Save(fonts_ / "a-damaged" / font.filename());
    }
  }

  // The catalogue's names and files, and the lines of the log.
  void Read(const fs::path& out) {
    TableReader reader(out, "pelloryfont.DB");
    for (const auto& record : reader.Records()) {
      const std::string description = reader.Blob(record, 2);
      const std::size_t file = description.find("File: ");
      files_[reader.Text(record, 1)] =
          file == std::string::npos
              ? ""
              : description.substr(file + 6, description.find('\r', file) - file - 6);
    }
  }

  void ExpectIntactKeptAndOneWarningEach(const std::string& log) {
    EXPECT_EQ(files_.size(), 2u) << log;
    EXPECT_EQ(files_["Kristi Medium"], (fonts_ / "intact/Kristi.ttf").string()) << log;
    EXPECT_EQ(files_["DejaVu Sans Book"], (fonts_ / "intact/DejaVuSans.ttf").string()) << log;
    for (const char* file : {"Kristi.ttf", "DejaVuSans.ttf"}) {
      const std::string damaged = (fonts_ / "a-damaged" / file).string();
      std::size_t warnings = 0;
      std::istringstream lines(log);
      for (std::string line; std::getline(lines, line);) {
        if (line.find(damaged) == std::string::npos) continue;
        ++warnings;
        EXPECT_NE(line.find("warning: "), std::string::npos) << line;
        EXPECT_TRUE(HasOneOf(line, GetParam().words)) << line;
        EXPECT_EQ(line.find("FreeType error 0x"), std::string::npos) << "not in words: " << line;
      }
      EXPECT_EQ(warnings, 1u) << file << "\n" << log;
    }
    EXPECT_NE(log.find("4 faces listed: 2 records, 0 copies of other faces left out, "),
              std::string::npos)
        << log;
  }

  ScratchDir scratch_;
  fs::path fonts_;
  std::map<std::string, std::string> files_;
};

TEST_P(DamagedFacesTest, ThroughTheFontsDirectory) {
  std::ostringstream log;
  const fs::path out = scratch_.path() / "catalogue";
  ASSERT_EQ(
      BuildCatalogue(ParseOptions({"--fonts-dir", fonts_.string(), "--plain", out.string()}), log),
      kExitOk)
      << log.str();
  Read(out);
  ExpectIntactKeptAndOneWarningEach(log.str());
}

TEST_P(DamagedFacesTest, ThroughFontconfigWithAPrivateConfiguration) {
  const fs::path config = scratch_.path() / "fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts_.string()
                        << "</dir><cachedir>" << (scratch_.path() / "cache").string()
                        << "</cachedir></fontconfig>\n";
  const fs::path out = scratch_.path() / "catalogue";
  const fs::path logFile = scratch_.path() / "log";
  const std::string command = "FONTCONFIG_FILE='" + config.string() +
                              "' '" PELLORY_MKCATALOGUE "' --plain '" + out.string() +
                              "' >/dev/null 2>'" + logFile.string() + "'";
  const int status = std::system(command.c_str());
  std::ifstream in(logFile);
  const std::string log((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(status, 0) << log;
  Read(out);
  // fontconfig lists what it can read: a copy it cannot is not listed, so
  // not warned about; one it lists but that is damaged is.
  EXPECT_EQ(files_["Kristi Medium"], (fonts_ / "intact/Kristi.ttf").string()) << log;
  EXPECT_EQ(files_["DejaVu Sans Book"], (fonts_ / "intact/DejaVuSans.ttf").string()) << log;
  EXPECT_EQ(files_.size(), 2u) << log;
  EXPECT_EQ(log.find("FreeType error 0x"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Copies, DamagedFacesTest, ::testing::ValuesIn(kDamages),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace pellory::mkcatalogue
