// Help in the grid window: F1 passes through the grid, and its editor, to
// the window, which asks for the grid's topic; with the File menu open,
// for the highlighted command's.
#include <QMenu>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/table.h"
#include "pellory/platform/help_engine.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/controls/menu_command.h"

namespace gridtest {
namespace {

using pellory::platform::kHelpContext;
using shelltest::HelpCall;

class GridWindowHelp : public GridWindow {
 protected:
  void SetUp() override {
    GridWindow::SetUp();
    app->SetHelpFile(QStringLiteral("fontl.hlp"));
    app->SetHelpEngine(shelltest::RecordingHelpEngine(calls));
    pellory::shell::DescriptionRegistry::Register(shelltest::PlainWindow("TProbeWindow"));
    main = app->CreateForm<shelltest::ProbeWindow>();
  }
  std::vector<HelpCall> Context(int id) const {
    return {{main->winId(), QStringLiteral("fontl.hlp"), kHelpContext, static_cast<quintptr>(id)}};
  }

  std::shared_ptr<std::vector<HelpCall>> calls = std::make_shared<std::vector<HelpCall>>();
  pellory::shell::StoredWindow* main = nullptr;
};

TEST_F(GridWindowHelp, F1OnTheGridAndInItsEditorAsksForTheGridsTopic) {
  Open(cataloguetest::Numbered(5));
  guitest::key(grid(), Qt::Key_F1);
  EXPECT_EQ(*calls, Context(1700));
  EXPECT_EQ(form->wwTable1()->RecNo(), 1) << "F1 moves nothing";

  guitest::key(grid(), Qt::Key_F2);
  QWidget* editor = reinterpret_cast<QWidget*>(grid()->InplaceEditor());
  ASSERT_NE(editor, nullptr);
  calls->clear();
  guitest::key(editor, Qt::Key_F1);
  EXPECT_EQ(*calls, Context(1700));
}

TEST_F(GridWindowHelp, F1OnTheOpenFileMenuAsksForReturnToMain) {
  Open(cataloguetest::Numbered(5));
  QMenu* menu = form->Component<pellory::ui::MenuCommand>(QStringLiteral("File1"))->Submenu();
  menu->popup(form->mapToGlobal(QPoint(10, 10)));
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activePopupWidget() == menu; }));
  menu->setActiveAction(
      form->Component<pellory::ui::MenuCommand>(QStringLiteral("Exit1"))->Action());
  guitest::key(menu, Qt::Key_F1);
  EXPECT_EQ(*calls, Context(1800));
  EXPECT_TRUE(form->isVisible());
}

}  // namespace
}  // namespace gridtest
