// The main window under a device pixel ratio the user asks for
// (QT_SCALE_FACTOR=2): Qt magnifies the stored layout as a whole, and
// every pixel of a line or a picture becomes a sharp 2 by 2 block.
#include <QGuiApplication>
#include <QScreen>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tform2.h"

namespace cataloguetest {
namespace {

using pellory::shell::ColorOf;
using pellory::shell::SystemColor;

// A picture of 1-pixel stripes, the hardest case for a blurring scaler.
QRgb Stripes(int x, int y) {
  return (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
}

class DoubledMainWindow : public CatalogueWindow {
 protected:
  void SetUp() override {
    CatalogueWindow::SetUp();
    std::vector<Font> fonts = Numbered(1);
    fonts[0].picture = BmpFile(20, 10, Stripes);
    Open(fonts);
  }
};

TEST_F(DoubledMainWindow, KeepsTheStoredLayoutInLogicalPixels) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
  EXPECT_EQ(form->logicalDpiY(), 96);
  EXPECT_EQ(form->frameGeometry().size(), QSize(680, 486));
  EXPECT_EQ(form->Font().height, -13);
  EXPECT_EQ(form->DBImage1()->geometry(), QRect(104, 160, 360, 128));
}

TEST_F(DoubledMainWindow, LinesAndPicturesBecomeWholeBlocks) {
  pellory::ui::TDBImage* image = form->DBImage1();
  const QImage shot = image->grab().toImage();
  ASSERT_EQ(shot.size(), image->size() * 2);
  const QPoint origin = (image->ClientArea().topLeft() + image->PictureOffset()) * 2;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x)
      for (const QPoint part : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        ASSERT_EQ(shot.pixel(origin + QPoint(2 * x, 2 * y) + part), Stripes(x, y)) << x << "," << y;
  // The bevel's one-pixel edges: each a band of two device pixels on the
  // bevel's own first and last pixels.
  const QImage bevel = form->Bevel1()->grab().toImage();
  const QColor shadow = ColorOf(SystemColor::BtnShadow);
  const QColor light = ColorOf(SystemColor::BtnHighlight);
  const int right = bevel.width() - 1, bottom = bevel.height() - 1;
  const struct {
    QPoint at;
    QColor colour;
  } edges[] = {
      {{200, 0}, shadow},    {{200, 1}, shadow},        {{0, 200}, shadow},
      {{1, 200}, shadow},    {{200, bottom}, light},    {{200, bottom - 1}, light},
      {{right, 200}, light}, {{right - 1, 200}, light}, {{200, 2}, ColorOf(SystemColor::BtnFace)}};
  for (const auto& e : edges)
    EXPECT_EQ(bevel.pixelColor(e.at), e.colour) << e.at.x() << "," << e.at.y();
}

}  // namespace
}  // namespace cataloguetest
