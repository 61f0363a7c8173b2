// The grid window as stored, opened from the main window by its class
// name, and the resources its grid shares.
#include "grid_window.h"

#include <QMenuBar>
#include <QTimer>

#include "catalogue_window.h"
#include "grid_resources.h"
#include "gui_helpers.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/shell/window_factories.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tform2.h"

namespace gridtest {
namespace {

using pellory::ui::TForm3;

using GridWindowLayout = GridWindow;

TEST_F(GridWindowLayout, IsBuiltAsStored) {
  Open(cataloguetest::Numbered(3));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Font Display"));
  EXPECT_EQ(form->OuterSize(), QSize(607, 483));
  EXPECT_EQ(grid()->geometry(), QRect(8, 0, 585, 425));
  EXPECT_EQ(grid()->HelpContext(), 1700);
  EXPECT_EQ(grid()->RowHeightPercent(), 643);
  pellory::ui::MenuCommand* exit = form->MenuItem(QStringLiteral("Exit1"));
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(exit->Caption(), QStringLiteral("&Return to main"));
  EXPECT_EQ(exit->HelpContext(), 1800);
  EXPECT_EQ(exit->ShortCut(), 0);
  EXPECT_EQ(form->MenuItem(QStringLiteral("File1"))->Caption(), QStringLiteral("&File"));
  const pellory::data::TwwTable* table = form->wwTable1();
  EXPECT_TRUE(table->Active());
  EXPECT_TRUE(table->ReadOnly());
  EXPECT_EQ(table->Name(), "wwTable1");
  // Made per column: the catalogue's five, none declared.
  EXPECT_EQ(table->Fields().size(), 5u);
}

TEST_F(GridWindowLayout, TheAreaBesideTheGridIsButtonFace) {
  Open(cataloguetest::Numbered(3));
  form->resize(form->size() + QSize(100, 80));
  guitest::pump();
  EXPECT_EQ(grid()->geometry(), QRect(8, 0, 585, 425));
  const QImage window = guitest::grabImage(form);
  const QPoint inClient = form->Client()->mapTo(form, QPoint(0, 0));
  const QColor face(192, 192, 192);
  const QPoint farCorner(window.width() - 5, window.height() - 5);
  for (QPoint p : {inClient + QPoint(3, 100), inClient + QPoint(600, 100),
                   inClient + QPoint(300, 440), farCorner})
    EXPECT_EQ(window.pixelColor(p), face) << p.x() << "," << p.y();
}

TEST_F(GridWindowLayout, ReturnToMainEndsTheModalRunWithTwo) {
  Open(cataloguetest::Numbered(3));
  form->hide();
  QTimer::singleShot(0, form, [this] { form->MenuItem(QStringLiteral("Exit1"))->Click(); });
  EXPECT_EQ(form->ShowModal(), 2);
}

TEST(GridResourcesTest, TheGlyphsLiveWithTheGrids) {
  using pellory::ui::grid::GridResources;
  using pellory::ui::grid::IndicatorGlyph;
  ASSERT_EQ(GridResources::LiveGrids(), 0);
  {
    pellory::shell::CreationContext context;
    pellory::ui::TwwDBGrid first(context);
    pellory::ui::TwwDBGrid second(context);
    EXPECT_EQ(GridResources::LiveGrids(), 2);
    for (IndicatorGlyph glyph :
         {IndicatorGlyph::Arrow, IndicatorGlyph::Edit, IndicatorGlyph::Insert}) {
      const QImage& image = GridResources::Glyph(glyph);
      EXPECT_EQ(image.size(), QSize(6, 11));
      EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFFFu) << "white around the shape";
    }
    EXPECT_EQ(GridResources::Glyph(IndicatorGlyph::Arrow).pixel(0, 5), 0xFF000000u);
  }
  EXPECT_EQ(GridResources::LiveGrids(), 0);
  EXPECT_TRUE(GridResources::Glyph(IndicatorGlyph::Arrow).isNull());
}

// The main window on a catalogue, opening the grid window by its class
// name as Views, "&Grid" does.
class GridFromMain : public cataloguetest::CatalogueWindow {
 protected:
  void SetUp() override {
    CatalogueWindow::SetUp();
    pellory::shell::WindowFactories::Register(QStringLiteral("TForm3"),
                                              [] { return std::make_unique<TForm3>(); });
  }
  // Runs Grid1Click; `inside` runs in the grid window's modal loop, which
  // is then ended by "&Return to main".
  void RunGrid(const std::function<void(TForm3&)>& inside) {
    QTimer::singleShot(0, [this, inside] {
      TForm3* grid = nullptr;
      for (auto* window : app->OwnedWindows())
        if (auto* g = dynamic_cast<TForm3*>(window)) grid = g;
      ASSERT_NE(grid, nullptr);
      inside(*grid);
      grid->Exit1Click();
    });
    form->Grid1Click();
    guitest::pump();
  }
  static QString Current(TForm3& grid) {
    return QString::fromStdString(grid.wwTable1()->FieldByName("Font Name").AsString());
  }
};

TEST_F(GridFromMain, EachOpeningStartsAtTheFirstFontAndLeavesTheMainRecord) {
  Open(cataloguetest::Numbered(12));
  form->Table1().MoveBy(4);
  guitest::pump();
  const QString mainRecord = form->DBEdit1()->text();
  ASSERT_EQ(mainRecord, QStringLiteral("Font 5"));
  for (int opening = 0; opening < 2; ++opening) {
    RunGrid([&](TForm3& grid) {
      EXPECT_TRUE(grid.isVisible());
      EXPECT_FALSE(form->isEnabled());
      EXPECT_EQ(Current(grid), QStringLiteral("Font 1")) << "opening " << opening;
      EXPECT_EQ(grid.wwDBGrid1()->Row(), 1);
      grid.wwTable1()->MoveBy(7);
      grid.wwTable1()->FieldByName("Sample3").SetDisplayWidth(3);
      EXPECT_EQ(Current(grid), QStringLiteral("Font 8"));
      EXPECT_EQ(form->DBEdit1()->text(), mainRecord);
    });
    EXPECT_EQ(form->DBEdit1()->text(), mainRecord);
    EXPECT_EQ(form->Table1().FieldByName("Font Name").AsString(), "Font 5");
    bool gridLeft = true;
    for (auto* window : app->OwnedWindows()) gridLeft &= dynamic_cast<TForm3*>(window) == nullptr;
    EXPECT_TRUE(gridLeft) << "released after its modal run";
  }
  EXPECT_TRUE(boxes->empty());
}

}  // namespace
}  // namespace gridtest
