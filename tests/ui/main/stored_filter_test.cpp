// The filter text that Table1 carries from its declaration: compiled when
// the catalogue opens, never applied, replaced by the first category.
#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/data/errors.h"
#include "pellory/data/table.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"

namespace cataloguetest {
namespace {

using pellory::data::TTable;
using pellory::ui::TNavigateBtn;

constexpr const char* kStoredFilter = "category = 'Captial Sans Serif'";

// Puts the program's filter compiler back after a test that replaced it.
class StoredFilter : public CatalogueWindow {
 protected:
  void TearDown() override {
    CatalogueWindow::TearDown();
    TTable::SetFilterCompiler(compiler_);
  }
  // Compiles as the program does and keeps the texts it was given.
  void WatchCompiles() {
    TTable::SetFilterCompiler([this](const pellory::data::TDataSet& cursor, const std::string& text,
                                     pellory::data::TFilterOptions o) {
      compiled_.push_back(text);
      return compiler_(cursor, text, o);
    });
  }

  const TTable::FilterCompiler compiler_ = TTable::FilterCompilerInUse();
  std::vector<std::string> compiled_;
};

TEST_F(StoredFilter, IsCompiledAtOpenAndNeverApplied) {
  WatchCompiles();
  Open(Numbered(9));  // one "Capitals Sans Serif" font among nine
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(form->Table1().Filter(), kStoredFilter);
  EXPECT_FALSE(form->Table1().Filtered());
  EXPECT_EQ(compiled_, std::vector<std::string>{kStoredFilter});
  // Every record is there.
  form->DBNavigator1()->BtnClick(TNavigateBtn::nbLast);
  EXPECT_EQ(form->DBEdit1()->text(), QStringLiteral("Font 9"));
  // All fonts leaves it stored; the first category replaces it.
  guitest::click(form->Button(10));
  EXPECT_EQ(form->Table1().Filter(), kStoredFilter);
  guitest::click(form->Button(2));
  EXPECT_EQ(form->Table1().Filter(), "Category ='Capitals San*'");
  EXPECT_EQ(form->DBEdit1()->text(), QStringLiteral("Font 2"));
}

TEST_F(StoredFilter, OneThatDoesNotCompileStopsTheOpening) {
  TTable::SetFilterCompiler([](const pellory::data::TDataSet&, const std::string&,
                               pellory::data::TFilterOptions) -> std::vector<std::uint8_t> {
    throw pellory::data::EDatabaseError("Unterminated string constant");
  });
  Open(Numbered(3));
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().text, QStringLiteral("Unterminated string constant."));
  // The cursor is closed again and the window keeps its construction state.
  EXPECT_FALSE(form->Table1().Active());
  EXPECT_FALSE(form->wwTable1().Active());
  EXPECT_EQ(form->Table1().Filter(), kStoredFilter);
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("Label5"));
  EXPECT_TRUE(form->DBEdit1()->text().isEmpty());
  EXPECT_FALSE(form->DBImage1()->PictureLoaded());
  EXPECT_FALSE(form->DBNavigator1()->Button(TNavigateBtn::nbNext)->isEnabled());
}

}  // namespace
}  // namespace cataloguetest
