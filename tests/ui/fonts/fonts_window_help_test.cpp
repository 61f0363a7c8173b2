// Help in the installed fonts window: F1 is no shortcut there, so it asks
// for the focused control's topic, found up its parents (the choices have
// none, their group has); with the File menu open, for the highlighted
// command's. A recording help engine stands in for the real one; a plain
// main window is the owner of every call.
#include <QApplication>
#include <QMenu>
#include <QRadioButton>

#include "font_sources.h"
#include "gui_helpers.h"
#include "pellory/platform/help_engine.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::ui;
using pellory::platform::kHelpContext;
using shelltest::HelpCall;

class FontsWindowHelp : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    app->SetHelpFile(QStringLiteral("fontl.hlp"));
    app->SetHelpEngine(shelltest::RecordingHelpEngine(calls));
    pellory::shell::DescriptionRegistry::Register(shelltest::PlainWindow("TProbeWindow"));
    main = app->CreateForm<shelltest::ProbeWindow>();
    form = app->CreateForm<TForm1>();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  }
  void TearDown() override {
    form = nullptr;
    ShellTest::TearDown();
  }

  std::vector<HelpCall> Context(int id) const {
    return {{main->winId(), QStringLiteral("fontl.hlp"), kHelpContext, static_cast<quintptr>(id)}};
  }

  fonttest::DefaultSourcesScope sources{
      fonttest::Sources({"Alpha", "Bravo"}, std::make_shared<fonttest::SwitchablePrinter>())};
  std::shared_ptr<std::vector<HelpCall>> calls = std::make_shared<std::vector<HelpCall>>();
  pellory::shell::StoredWindow* main = nullptr;
  TForm1* form = nullptr;
};

TEST_F(FontsWindowHelp, F1OnAChoiceAsksForTheGroupsTopicAndOnTheListForNothing) {
  const struct {
    const char* what;
    QWidget* focus;
    std::vector<HelpCall> expected;
  } cases[] = {
      {"Screen", form->RadioGroup1()->Button(0), Context(1600)},
      {"Printer", form->RadioGroup1()->Button(1), Context(1600)},
      {"Both", form->RadioGroup1()->Button(2), Context(1600)},
      {"font list", form->GLFontListBox1(), {}},
  };
  for (const auto& c : cases) {
    c.focus->setFocus(Qt::TabFocusReason);
    calls->clear();
    guitest::key(c.focus, Qt::Key_F1);
    EXPECT_EQ(*calls, c.expected) << c.what;
  }
  EXPECT_EQ(form->RadioGroup1()->ItemIndex(), 0) << "F1 checks no choice";
}

TEST_F(FontsWindowHelp, F1OnTheOpenFileMenuAsksForTheHighlightedCommand) {
  QMenu* menu = form->Component<MenuCommand>(QStringLiteral("File1"))->Submenu();
  const struct {
    const char* highlighted;
    int expected;
  } cases[] = {{"Exit1", 1800}, {nullptr, 0}};
  for (const auto& c : cases) {
    menu->popup(form->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activePopupWidget() == menu; }));
    if (c.highlighted)
      menu->setActiveAction(form->Component<MenuCommand>(QLatin1String(c.highlighted))->Action());
    calls->clear();
    guitest::key(menu, Qt::Key_F1);
    EXPECT_EQ(*calls, Context(c.expected)) << (c.highlighted ? c.highlighted : "nothing");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  }
  EXPECT_TRUE(form->isVisible()) << "F1 on Return to main does not close the window";
}

}  // namespace
