// A grid window opened on a small catalogue written for the test, with an
// optional change to its stored description.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <vector>

#include "pellory/shell/window_description.h"
#include "pellory/ui/grid/tform3.h"
#include "pellory/ui/grid/twwdbgrid.h"
#include "shell_test_support.h"
#include "test_catalogue.h"

namespace gridtest {

// The colours the grid paints with.
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kNavy = 0xFF000080;  // the highlight colour
constexpr QRgb kBlue = 0xFF0000FF;

using cataloguetest::Font;
using DescriptionChange = std::function<void(pellory::shell::WindowDescription&)>;

// Replaces one stored property of a component of the description.
void SetStored(pellory::shell::WindowDescription& description, const QString& component,
               const QString& path, const pellory::shell::StoredValue& value);
// Shorthands for the two lists.
DescriptionChange Selected(const QStringList& entries);
DescriptionChange ControlType(const QStringList& entries);

// `count` fonts, each with the same picture.
std::vector<Font> WithPicture(int count, const std::string& picture);
// A solid picture of one colour.
std::string Solid(int width, int height, QRgb colour);
// The 8-byte graphic header in front of a bitmap file.
std::string WithGraphicHeader(const std::string& bmp);

class GridWindow : public shelltest::ShellTest {
 protected:
  void TearDown() override;
  // Writes the catalogue, opens the window shown and active, the grid
  // focused.
  void Open(const std::vector<Font>& fonts, const DescriptionChange& change = {});
  // Opens the window with an engine configuration that names no catalogue.
  void OpenWithoutCatalogue();

  pellory::ui::TwwDBGrid* grid() const { return form->wwDBGrid1(); }
  // What the grid's client area shows.
  QImage Client() const;
  QRgb PixelAt(QPoint p) const { return Client().pixel(p); }
  QRect Cell(int col, int row) const { return grid()->CellRect(col, row); }

  std::unique_ptr<cataloguetest::TestCatalogue> catalogue_;
  pellory::ui::TForm3* form = nullptr;

 private:
  void Show();
  bool replaced_ = false;
  std::string brokenDir_;
};

}  // namespace gridtest
