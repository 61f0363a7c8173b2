// The main window on a screen of 144 pixels per inch: the window font grows
// from 13 to 20 pixels, whose text height 24 is 1.5 times the stored 16,
// so every place and size grows by half; glyphs and pictures keep their
// natural size.
#include <QGuiApplication>
#include <QScreen>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/nav_glyph.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"

namespace cataloguetest {
namespace {

using pellory::ui::TNavigateBtn;

class MainWindowAt144 : public CatalogueWindow {
 protected:
  void SetUp() override {
    CatalogueWindow::SetUp();
    std::vector<Font> fonts = Numbered(2);
    fonts[0].picture = BmpFile(200, 60, [](int x, int y) { return qRgb(x, y, 7); });
    Open(fonts);
  }
  QWidget* Control(const char* name) const {
    auto* c = form->FindComponent(QLatin1String(name));
    return c ? static_cast<QWidget*>(c->Object()) : nullptr;
  }
};

TEST_F(MainWindowAt144, TheScreenReachesTheWindowsAsLogicalResolution) {
  // Not as a device pixel ratio of 1.5, under which lines would blur.
  const QScreen* screen = QGuiApplication::primaryScreen();
  EXPECT_EQ(screen->logicalDotsPerInchY(), 144);
  EXPECT_EQ(screen->devicePixelRatio(), 1.0);
  EXPECT_EQ(form->logicalDpiY(), 144);
}

TEST_F(MainWindowAt144, WindowAndFontsScaled) {
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(form->Font().height, -20);
  EXPECT_EQ(pellory::shell::TextHeight(form->font()), 24);
  EXPECT_EQ(form->frameGeometry().size(), QSize(1020, 729));
  const struct {
    const char* name;
    int pixels;
  } fonts[] = {{"DBEdit1", 20}, {"DBMemo1", 20}, {"Button1", 18}, {"Button2", 18},
               {"Button3", 20}, {"Button5", 18}, {"Label1", 20},  {"Label5", 20}};
  for (const auto& f : fonts) EXPECT_EQ(Control(f.name)->font().pixelSize(), f.pixels) << f.name;
}

TEST_F(MainWindowAt144, EveryPlaceAndSizeHalfAgainAsLarge) {
  const struct {
    const char* name;
    QRect place;
  } controls[] = {
      {"Bevel1", {12, 12, 710, 590}},
      {"DBNavigator1", {24, 24, 336, 50}},
      {"DBImage1", {156, 240, 540, 192}},
      {"DBMemo1", {156, 456, 542, 134}},
      {"Button1", {744, 48, 242, 50}},
      {"Button2", {744, 108, 242, 50}},
      {"Button3", {744, 168, 242, 50}},
      {"Button5", {744, 228, 242, 50}},
      {"Button4", {744, 288, 242, 50}},
      {"Button6", {744, 348, 242, 50}},
      {"Button7", {744, 408, 242, 50}},
      {"Button9", {744, 468, 242, 50}},
      {"Button10", {744, 540, 242, 62}},
      // Text boxes are as high as their font's text plus the border.
      {"DBEdit1", {156, 96, 350, 32}},
      {"DBEdit2", {156, 156, 242, 32}},
  };
  for (const auto& c : controls) EXPECT_EQ(Control(c.name)->geometry(), c.place) << c.name;
  // Labels keep their scaled left and top and fit their text.
  const struct {
    const char* name;
    QPoint at;
  } labels[] = {{"Label1", {24, 96}},  {"Label2", {24, 456}},  {"Label3", {24, 240}},
                {"Label4", {12, 612}}, {"Label5", {204, 612}}, {"Label6", {24, 156}},
                {"Label7", {744, 12}}};
  for (const auto& l : labels) {
    auto* label = dynamic_cast<pellory::ui::CaptionLabel*>(Control(l.name));
    ASSERT_NE(label, nullptr) << l.name;
    EXPECT_EQ(label->pos(), l.at) << l.name;
    EXPECT_EQ(label->height(), pellory::shell::TextHeight(label->font())) << l.name;
    EXPECT_EQ(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->Caption()))
        << l.name;
  }
}

TEST_F(MainWindowAt144, GlyphsAndPicturesKeepTheirNaturalSize) {
  // Four buttons of 84 by 50: a 14 by 13 glyph centred on the 80 by 46 face.
  pellory::ui::TNavButton* first = form->DBNavigator1()->Button(TNavigateBtn::nbFirst);
  EXPECT_EQ(first->geometry(), QRect(0, 0, 84, 50));
  EXPECT_EQ(first->GlyphOrigin(), QPoint(35, 19));
  const QImage glyph = pellory::ui::LoadNavGlyph(TNavigateBtn::nbFirst).disabled;
  const QImage button = guitest::grabImage(first);
  for (int y = 0; y < glyph.height(); ++y) {
    for (int x = 0; x < glyph.width(); ++x) {
      if (qAlpha(glyph.pixel(x, y)) == 255) {
        ASSERT_EQ(button.pixel(QPoint(35 + x, 19 + y)), glyph.pixel(x, y)) << x << "," << y;
      }
    }
  }

  // The 200 by 60 picture, unscaled, centred in the 536 by 188 client area.
  pellory::ui::TDBImage* image = form->DBImage1();
  EXPECT_EQ(image->ClientArea(), QRect(2, 2, 536, 188));
  EXPECT_EQ(image->PictureOffset(), QPoint(168, 64));
  const QImage shot = guitest::grabImage(image);
  const QPoint origin = image->ClientArea().topLeft() + image->PictureOffset();
  EXPECT_EQ(shot.pixel(origin), qRgb(0, 0, 7));
  EXPECT_EQ(shot.pixel(origin + QPoint(199, 59)), qRgb(199, 59, 7));
  EXPECT_EQ(QColor(shot.pixel(origin + QPoint(200, 59))),
            pellory::shell::ColorOf(pellory::shell::SystemColor::Window));
}

}  // namespace
}  // namespace cataloguetest
