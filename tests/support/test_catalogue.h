// A small catalogue table written for one test into a scratch directory,
// with an engine configuration naming it as the alias "pellory";
// PELLORY_ENGINE_CONFIG points at it while the object lives.
#pragma once

#include <QRgb>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pellory/data/catalogue.h"

namespace cataloguetest {

struct Font {
  std::string name;
  std::string file;
  std::string category;
  std::string description;
  std::string picture;  // a BMP file's bytes; empty: blank
};

inline const char* const kCategories[] = {
    "Capitals Serif", "Capitals Sans Serif", "Handwriting",       "Italic Sans Serif",
    "Italic Serif",   "Normal Serif",        "Normal Sans Serif", "Wingdings"};

// n fonts "Font 1"... ("f1.ttf", "About font 1") in the category cycle
// above, without pictures.
std::vector<Font> Numbered(int n);

// A 24-bit bottom-up BMP whose pixel (x, y), counted from the top left, has
// the colour colour(x, y).
std::string BmpFile(int width, int height, const std::function<QRgb(int, int)>& colour);

// An 8-bit bottom-up BMP with a 256-entry grey colour table; pixel (x, y)
// holds index level(x, y), the colour (level, level, level).
std::string GreyBmpFile(int width, int height, const std::function<int(int, int)>& level);

class TestCatalogue {
 public:
  // withSample false leaves out the picture column, so the catalogue
  // cannot be opened as the main window declares it; the table password is
  // the one the main window gives unless told otherwise.
  explicit TestCatalogue(
      const std::vector<Font>& fonts, bool withSample = true,
      const std::string& password = std::string(pellory::data::kCataloguePassword));
  ~TestCatalogue();
  TestCatalogue(const TestCatalogue&) = delete;
  TestCatalogue& operator=(const TestCatalogue&) = delete;

  const std::filesystem::path& Directory() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

}  // namespace cataloguetest
