// A small catalogue built once from a few Debian fonts, and pellory-specimen
// run on it: books read back with poppler's pdfinfo, pdftotext and pdffonts,
// each book the program writes checked to open cleanly in libqpdf.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "program_run.h"
#include "scratch_dir.h"

namespace pellory::specimen {

// Installed by scripts/packages.txt. MonoCopy.ttf is a copy of DejaVu Sans
// Mono under a name no installed file has, so its face counts as not
// installed; "Noto Sans Tifinagh Regular" is a name "fi" makes a ligature of;
// Linux Libertine O has small capitals, old-style figures and ligatures.
inline constexpr std::array<const char*, 11> kBookFonts = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf",
    "/usr/share/fonts/opentype/urw-base35/D050000L.otf",
    "/usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf",
    "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf",
    "/usr/share/fonts/truetype/noto/NotoSansTifinagh-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf",
    "/usr/share/fonts/opentype/linux-libertine/LinLibertine_R.otf",
};
inline constexpr std::size_t kBookFontCount = kBookFonts.size();

class SpecimenBook : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite() { scratch_.reset(); }
  void SetUp() override;

  static std::filesystem::path Catalogue() { return scratch_->path() / "catalogue"; }
  std::filesystem::path Book(const std::string& name) const { return scratch_->path() / name; }

  // Runs the program on the fixture catalogue with `args` before it; a book
  // it wrote (-o) must open in libqpdf without a warning.
  static testkit::ProgramRun Specimen(std::vector<std::string> args);
  static std::string Tool(const std::vector<std::string>& command);
  static int Pages(const std::filesystem::path& pdf);
  // pdftotext's text (page 0: all), without the marks of direction it adds
  // around right-to-left words.
  static std::string Text(const std::filesystem::path& pdf, int page = 0, bool layout = true);
  // The embedded fonts: "name" for each line of pdffonts whose "emb" is yes.
  static std::set<std::string> EmbeddedFonts(const std::filesystem::path& pdf);
  // The font names of the catalogue's records that pass a filter, as catdump reads them.
  static std::vector<std::string> CatalogueNames(const std::string& filter);

  static std::unique_ptr<testkit::ScratchDir> scratch_;
};

std::size_t Occurrences(const std::string& text, const std::string& what);

}  // namespace pellory::specimen
