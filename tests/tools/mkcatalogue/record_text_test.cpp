// Names, descriptions and file names of catalogue records.
#include "record_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "file_names.h"
#include "font_facts.h"
#include "pellory/platform/installed_fonts.h"

namespace pellory::mkcatalogue {
namespace {

TEST(FontNameTest, FamilyAndStyleCutAfterWholeCharacters) {
  EXPECT_EQ(FontNameFor("DejaVu Serif", "Book"), "DejaVu Serif Book");
  EXPECT_EQ(FontNameFor("Solo", ""), "Solo");
  const std::string family(40, 'x');
  // 45 characters, the blank at the cut trimmed.
  EXPECT_EQ(FontNameFor(family, "Bold Italic"), family + " Bold");
  // Two-byte characters are never split: 44 "é" and the blank fill 45.
  std::string accented;
  for (int i = 0; i < 44; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(FontNameFor(accented, "Regular"), accented);
  EXPECT_EQ(ToTableText(FontNameFor(accented + "\xC3\xA9", "Bold")).size(), 45u);
}

TEST(FontNameAllocatorTest, NamesThatMeetInTheTableAreNumbered) {
  FontNameAllocator names;
  const std::string long45(45, 'x');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Nimbus Sans Regular", "Nimbus Sans Regular"},
      {"NIMBUS SANS REGULAR", "NIMBUS SANS REGULAR (2)"},  // same but for case
      {"Nimbus Sans Regular", "Nimbus Sans Regular (3)"},  // a third
      {"\xC5\x81odz Bold", "\xC5\x81odz Bold"},            // "Łodz": stored as "Lodz"
      {"Lodz Bold", "Lodz Bold (2)"},                      // meets it in the code page
      {long45, long45},                                    // the column's width
      {long45, std::string(41, 'x') + " (2)"},             // cut to keep the number
      {"Nimbus Sans Bold", "Nimbus Sans Bold"},
  };
  for (const auto& [name, expected] : cases) {
    const std::string assigned = names.Assign(name);
    EXPECT_EQ(assigned, expected) << name;
    EXPECT_LE(ToTableText(assigned).size(), kFontNameChars) << assigned;
  }
}

TEST(CutCharactersTest, CountsCharactersNotBytes) {
  EXPECT_EQ(CutCharacters("ab\xE2\x82\xAC"
                          "cd",
                          3),
            "ab\xE2\x82\xAC");
  EXPECT_EQ(CutCharacters("ab", 5), "ab");
  EXPECT_EQ(CutCharacters("\xF0\x9F\x98\x80z", 1), "\xF0\x9F\x98\x80");
}

TEST(TableTextTest, CodePageCharactersKeptLettersFoldedOthersQuestionMarks) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xE9 \x80"},  // in the code page
      {"\xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       "L\xF3"
       "dz"},                                                          // "Łódź"
      {"Bucure\xC8\x99ti \xC5\x90r\xC5\x91", "Bucuresti Oro"},         // ș, Ő, ő
      {"\xC5\x92 \xC5\xA0 \xC5\xBD \xC5\xB8", "\x8C \x8A \x8E \x9F"},  // Œ Š Ž Ÿ kept
      {"a\xE2\x88\x92"
       "b\xE2\x80\x89"
       "c",
       "a-b c"},                           // minus, thin space
      {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},  // no stand-in
      {"\xC5", "?"},                       // cut sequence
      {"\xF0\x82\x88\x92", "????"},        // an overlong minus is no minus
      {"\xC5\x81\xED\xA0\x80", "L???"},    // a surrogate after "Ł"
  };
  for (const auto& [utf8, expected] : cases) EXPECT_EQ(ToTableText(utf8), expected) << utf8;
}

TEST(DescriptionTest, OneFactALineJoinedWithCrLf) {
  FontFacts f;
  f.family = "DejaVu Sans";
  f.style = "Book";
  f.foundry = "PfEd";
  f.version = "Version 2.37";
  f.format = "TrueType";
  f.glyphs = 6253;
  f.path = "/usr/share/fonts/DejaVuSans.ttf";
  EXPECT_EQ(DescriptionFor(f),
            "Family: DejaVu Sans\r\nStyle: Book\r\nFoundry: PfEd\r\nVersion: Version 2.37\r\n"
            "Format: TrueType\r\nGlyphs: 6253\r\nFile: /usr/share/fonts/DejaVuSans.ttf");
  f.licence = "Free to use";
  f.foundry.clear();
  f.faceIndex = 2;
  const std::string text = DescriptionFor(f);
  EXPECT_EQ(text.find("Foundry"), std::string::npos);
  EXPECT_NE(text.find("\r\nFile: /usr/share/fonts/DejaVuSans.ttf (face 2)\r\nLicence: Free to use"),
            std::string::npos);
}

TEST(FontFactsTest, NamesFormatGlyphsAndVersionOfAnInstalledFace) {
  const std::filesystem::path file = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
  auto library = OpenFreeType();
  FontFace face = OpenFace(library.get(), file, 0, nullptr);
  ASSERT_TRUE(face);
  const FontFacts facts = ReadFontFacts(face.get(), file, 0);
  EXPECT_EQ(facts.family, "DejaVu Serif");
  EXPECT_EQ(facts.style, "Book");
  EXPECT_EQ(facts.format, "TrueType");
  EXPECT_GT(facts.glyphs, 1000u);
  EXPECT_NE(facts.version.find("2."), std::string::npos);
}

// Files fontconfig did not list get the foundry fontconfig would give
// them, read without fontconfig: checked on every installed face.
TEST(FontFactsTest, FoundryAsFontconfigNamesIt) {
  const auto& installed = platform::InstalledFaces();
  if (installed.empty()) GTEST_SKIP() << "fontconfig lists no fonts";
  auto library = OpenFreeType();
  std::size_t compared = 0;
  for (const platform::InstalledFace& listed : installed) {
    if (listed.index != 0) continue;
    FontFace face = OpenFace(library.get(), listed.file, 0, nullptr);
    if (!face) continue;
    ++compared;
    EXPECT_EQ(ReadFoundry(face.get()), listed.foundry.empty() ? "unknown" : listed.foundry)
        << listed.file;
  }
  EXPECT_GT(compared, 0u);
}

TEST(FileNameTest, FitsThirteenCharactersAndStaysUnique) {
  FileNameAllocator names;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Vera.ttf", "Vera.ttf"},
      {"VERA.TTF", "VERA~1.TTF"},          // same name but for case
      {"DejaVuSans.ttf", "DEJAVU~1.TTF"},  // 14 characters
      {"DejaVuSans-Bold.ttf", "DEJAVU~2.TTF"},
      {"C059-BdIta.pfb", "C059-B~1.PFB"},
      {"exactly13.ttf", "exactly13.ttf"},
      {"exactly13.ttf", "EXACTL~1.TTF"},   // second face of one file
      {"n\xC3\xA4me.otf", "NME~1.OTF"},    // not plain ASCII
      {"++++++++++++.otf", "FONT~1.OTF"},  // nothing usable in the stem
      {"noextension-at-all", "NOEXTE~1"},
  };
  for (const auto& [file, expected] : cases) EXPECT_EQ(names.Assign(file), expected) << file;
  std::set<std::string> seen;
  for (int i = 0; i < 150; ++i) {
    const std::string name = names.Assign("LiberationSansNarrow-Bold.ttf");
    EXPECT_LE(name.size(), kFileNameChars) << name;
    EXPECT_TRUE(seen.insert(name).second) << name;
  }
}

}  // namespace
}  // namespace pellory::mkcatalogue
