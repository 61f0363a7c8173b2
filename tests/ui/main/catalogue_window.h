// A main window opened on a small catalogue written for the test: the
// engine finds it through its alias in a configuration file named by
// PELLORY_ENGINE_CONFIG.
#pragma once

#include <QByteArray>
#include <QRgb>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shell_test_support.h"
#include "ui/main/tform2.h"

namespace cataloguetest {

struct Font {
  std::string name;
  std::string file;
  std::string category;
  std::string description;
  std::string picture;  // a BMP file's bytes; empty: blank
};

// A 24-bit bottom-up BMP whose pixel (x, y), counted from the top left, has
// the colour colour(x, y).
std::string BmpFile(int width, int height, const std::function<QRgb(int, int)>& colour);

class CatalogueWindow : public shelltest::ShellTest {
 protected:
  void TearDown() override;
  // Writes the catalogue, points the engine at it and opens the window.
  void Open(const std::vector<Font>& fonts, bool withSample = true);
  // n fonts "Font 1"... in the category cycle below, without pictures.
  static std::vector<Font> Numbered(int n);

  std::filesystem::path dir_;
  pellory::ui::TForm2* form = nullptr;
};

inline const char* const kCategories[] = {"Capitals Serif", "Capitals Sans Serif", "Handwriting",
                                          "Italic Sans Serif", "Italic Serif", "Normal Serif",
                                          "Normal Sans Serif", "Wingdings"};

}  // namespace cataloguetest
