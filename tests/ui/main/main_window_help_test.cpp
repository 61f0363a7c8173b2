// Help from the main window: F1 is the shortcut of Help, "&Contents", so it
// opens the contents whatever has the focus; with a menu open it asks for
// the highlighted command's topic. A recording help engine stands in for
// the real one.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "gui_helpers.h"
#include "pellory/platform/help_engine.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tform2.h"
#include "shell_test_support.h"
#include "unopened_form.h"

namespace {

using namespace pellory::ui;
using pellory::platform::kHelpContents;
using pellory::platform::kHelpContext;

using maintest::UnopenedForm;

using shelltest::HelpCall;

class MainWindowHelp : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    app->SetHelpFile(QStringLiteral("fontl.hlp"));
    app->SetHelpEngine(shelltest::RecordingHelpEngine(calls));
    form = app->CreateForm<UnopenedForm>();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  }

  HelpCall Call(int command, int data) const {
    return {form->winId(), QStringLiteral("fontl.hlp"), command, static_cast<quintptr>(data)};
  }

  std::shared_ptr<std::vector<HelpCall>> calls = std::make_shared<std::vector<HelpCall>>();
  TForm2* form = nullptr;
};

TEST_F(MainWindowHelp, F1OpensTheContentsWhateverHasTheFocus) {
  const std::vector<HelpCall> contents{Call(kHelpContents, 0)};
  // Among them the category buttons, which carry ids of their own.
  for (QWidget* focus :
       std::initializer_list<QWidget*>{form->DBEdit1(), form->DBImage1(), form->DBMemo1(),
                                       form->Button(1), form->Button(10), form->DBEdit2()}) {
    focus->setFocus(Qt::TabFocusReason);
    calls->clear();
    guitest::key(focus, Qt::Key_F1);
    EXPECT_EQ(*calls, contents) << focus->objectName().toStdString();
  }
  calls->clear();
  form->MenuItem(QStringLiteral("Contents1"))->Action()->trigger();
  EXPECT_EQ(*calls, contents) << "Help, Contents";
}

TEST_F(MainWindowHelp, F1OnAnOpenMenuAsksForTheHighlightedCommand) {
  const struct {
    const char* menu;
    const char* highlighted;  // null: nothing highlighted
    int expected;
  } cases[] = {
      {"Views1", "Allfonts1", 1400}, {"Views1", "Grid1", 1500}, {"Views1", nullptr, 0},
      {"File1", "Exit1", 0},         {"Help1", "Contents1", 0}, {"Help1", "About1", 0},
  };
  for (const auto& c : cases) {
    QMenu* menu = form->MenuItem(QLatin1String(c.menu))->Submenu();
    menu->popup(form->mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activePopupWidget() == menu; }));
    if (c.highlighted)
      menu->setActiveAction(form->MenuItem(QLatin1String(c.highlighted))->Action());
    calls->clear();
    guitest::key(menu, Qt::Key_F1);
    // The contents' F1 does not apply while a menu is open; 0 is asked too.
    EXPECT_EQ(*calls, std::vector<HelpCall>{Call(kHelpContext, c.expected)})
        << c.menu << ", " << (c.highlighted ? c.highlighted : "nothing highlighted");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  }
}

TEST_F(MainWindowHelp, ViewsOpenedFromTheKeyboardThenF1) {
  // Alt+V opens Views with its first command highlighted; Down moves on.
  const struct {
    int downs;
    int expected;
  } cases[] = {{0, 1400}, {1, 1500}};
  for (const auto& c : cases) {
    form->DBEdit1()->setFocus(Qt::TabFocusReason);
    guitest::key(form->DBEdit1(), Qt::Key_V, Qt::AltModifier);
    ASSERT_TRUE(guitest::pumpUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* menu = QApplication::activePopupWidget();
    for (int i = 0; i < c.downs; ++i) guitest::key(menu, Qt::Key_Down);
    calls->clear();
    guitest::key(menu, Qt::Key_F1);
    EXPECT_EQ(*calls, std::vector<HelpCall>{Call(kHelpContext, c.expected)}) << c.downs;
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), form->DBEdit1()) << "the menu bar let go";
    // Back in the window, F1 is the contents again.
    calls->clear();
    guitest::key(form->DBEdit1(), Qt::Key_F1);
    EXPECT_EQ(*calls, std::vector<HelpCall>{Call(kHelpContents, 0)}) << c.downs;
  }
}

}  // namespace
