// Help requests: F1 on a control asks for the first id up its parents, F1 on
// an open menu for the highlighted item's, every call goes to the help file
// with the main window as owner, and the help engine is told to quit at the
// end. A recording help engine stands in for the real one.
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui_helpers.h"
#include "pellory/platform/help_engine.h"
#include "pellory/shell/component_classes.h"
#include "pellory/shell/described_control.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/window_factories.h"
#include "pellory/ui/controls/common_classes.h"
#include "pellory/ui/controls/menu_command.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using pellory::ui::MenuCommand;
using shelltest::HelpCall;

// A group of choices as a radio group has: the group carries an id, the
// buttons inside it are plain widgets without one.
class ProbeGroup : public QGroupBox, public DescribedControl {
 public:
  explicit ProbeGroup(const CreationContext& context)
      : QGroupBox(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
    auto* layout = new QVBoxLayout(this);
    for (const char* name : {"Choice1", "Choice2"}) {
      auto* choice = new QRadioButton(QLatin1String(name), this);
      choice->setObjectName(QLatin1String(name));
      layout->addWidget(choice);
    }
  }
};

class ProbeEdit : public QLineEdit, public DescribedControl {
 public:
  explicit ProbeEdit(const CreationContext& context)
      : QLineEdit(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {}
};

using Props = std::vector<StoredProperty>;

ComponentDescription Control(const char* className, const char* name, int top, int tabOrder,
                             int help) {
  return {QLatin1String(className),
          QLatin1String(name),
          {{"Left", 8},
           {"Top", top},
           {"Width", 160},
           {"Height", className == QLatin1String("TProbeGroup") ? 90 : 24},
           {"TabOrder", tabOrder},
           {"HelpContext", help}},
          {}};
}

ComponentDescription Item(const char* name, const char* caption, Props more = {},
                          std::vector<ComponentDescription> items = {}) {
  Props props{{"Caption", QLatin1String(caption)}};
  props.insert(props.end(), more.begin(), more.end());
  return {QStringLiteral("MenuCommand"), QLatin1String(name), props, std::move(items)};
}

// A window with a group and plain controls, and menus whose items have ids
// on some levels only; F1 may be the shortcut of Help, "&Contents", as in the
// main window.
WindowDescription ProbeDescription(const QString& className, int windowHelp, int contentsKey) {
  WindowDescription d = shelltest::PlainWindow(className, 83, 82, 400, 320);
  d.properties.push_back({"HelpContext", windowHelp});
  d.properties.push_back({"Menu", QStringLiteral("MainMenu1")});
  d.components = {
      Control("TProbeGroup", "Group1", 8, 0, 1600),
      Control("TProbeEdit", "Edit1", 110, 1, 0),
      Control("TProbeEdit", "Edit2", 140, 2, 1700),
      {"TMainMenu",
       "MainMenu1",
       {},
       {Item("File1", "&File", {}, {Item("Exit1", "&Return", {{"HelpContext", 1800}})}),
        Item("Probe1", "&Probe", {{"HelpContext", 2000}},
             {Item("Plain1", "P&lain"), Item("Own1", "&Own", {{"HelpContext", 2100}}),
              Item("Sub1", "&Sub", {}, {Item("Deep1", "&Deep")})}),
        Item("Help1", "&Help", {},
             {Item("Contents1", "&Contents",
                   {{"ShortCut", contentsKey}, {"OnClick", HandlerRef{"ContentsClick"}}})})}},
  };
  return d;
}

class HelpProbe : public shelltest::ProbeWindow {
 public:
  explicit HelpProbe(QString className = QStringLiteral("THelpProbe"))
      : ProbeWindow(std::move(className)) {
    AddHandler(QStringLiteral("ContentsClick"), [this] { ++contentsClicks; });
  }
  int contentsClicks = 0;
};

// The same window, but the window itself carries an id.
class HelpProbeWithId : public HelpProbe {
 public:
  HelpProbeWithId() : HelpProbe(QStringLiteral("THelpProbeWithId")) {}
};

// The same window with F1 as the shortcut of its contents command.
class HelpProbeWithF1 : public HelpProbe {
 public:
  HelpProbeWithF1() : HelpProbe(QStringLiteral("THelpProbeWithF1")) {}
};

class HelpRequests : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    pellory::ui::RegisterCommonClasses();
    ComponentClasses::Register<ProbeGroup>("TProbeGroup");
    ComponentClasses::Register<ProbeEdit>("TProbeEdit");
    DescriptionRegistry::Register(ProbeDescription(QStringLiteral("THelpProbe"), 0, 0));
    DescriptionRegistry::Register(ProbeDescription(QStringLiteral("THelpProbeWithId"), 900, 0));
    DescriptionRegistry::Register(ProbeDescription(QStringLiteral("THelpProbeWithF1"), 0, 112));
    app->SetHelpFile(QStringLiteral("fontl.hlp"));
    app->SetHelpEngine(shelltest::RecordingHelpEngine(calls));
  }

  template <class Window>
  Window* Show() {
    auto* window = app->CreateForm<Window>();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == window; }));
    return window;
  }

  HelpCall Context(StoredWindow* owner, int id) const {
    return {owner->winId(), QStringLiteral("fontl.hlp"), pellory::platform::kHelpContext,
            static_cast<quintptr>(id)};
  }

  std::shared_ptr<std::vector<HelpCall>> calls = std::make_shared<std::vector<HelpCall>>();
};

TEST_F(HelpRequests, F1OnAControlAsksForTheFirstIdUpItsParents) {
  auto* plain = Show<HelpProbe>();
  const struct {
    const char* focus;
    int windowId;  // 0: the window without an id
    int expected;  // 0: nothing is asked
  } cases[] = {
      {"Choice1", 0, 1600},  // a button inside the group takes the group's id
      {"Choice2", 0, 1600},   {"Edit2", 0, 1700},
      {"Edit1", 0, 0},        {"Edit1", 900, 900},  // up to the window itself
      {"Choice1", 900, 1600},
  };
  auto* withId = Show<HelpProbeWithId>();
  for (const auto& c : cases) {
    StoredWindow* window = c.windowId ? static_cast<StoredWindow*>(withId) : plain;
    window->activateWindow();
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == window; }));
    auto* focus = window->findChild<QWidget*>(QLatin1String(c.focus));
    ASSERT_NE(focus, nullptr) << c.focus;
    focus->setFocus(Qt::OtherFocusReason);
    calls->clear();
    guitest::key(focus, Qt::Key_F1);
    std::vector<HelpCall> expected;
    // Every call has the main window as owner, whichever window asks.
    if (c.expected) expected.push_back(Context(plain, c.expected));
    EXPECT_EQ(*calls, expected) << c.focus << " in the window with id " << c.windowId;
  }
}

TEST_F(HelpRequests, F1OnAnOpenMenuAsksForTheHighlightedItemOrItsParents) {
  auto* window = Show<HelpProbeWithF1>();
  const struct {
    const char* menu;         // the item whose submenu is open
    const char* highlighted;  // null: nothing highlighted
    int expected;
  } cases[] = {
      {"File1", "Exit1", 1800},  {"File1", nullptr, 0},     {"Probe1", "Plain1", 2000},
      {"Probe1", "Own1", 2100},  {"Probe1", nullptr, 2000}, {"Sub1", "Deep1", 2000},
      {"Help1", "Contents1", 0},  // 0 is asked for too; F1 is no shortcut here
  };
  for (const auto& c : cases) {
    QMenu* menu = window->Component<MenuCommand>(QLatin1String(c.menu))->Submenu();
    ASSERT_NE(menu, nullptr) << c.menu;
    menu->popup(window->mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activePopupWidget() == menu; }));
    if (c.highlighted)
      menu->setActiveAction(window->Component<MenuCommand>(QLatin1String(c.highlighted))->Action());
    calls->clear();
    guitest::key(menu, Qt::Key_F1);
    EXPECT_EQ(*calls, std::vector<HelpCall>{Context(window, c.expected)})
        << c.menu << ", " << (c.highlighted ? c.highlighted : "nothing highlighted");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu closes for the viewer";
  }
  EXPECT_EQ(window->contentsClicks, 0);
  // Outside the menus F1 is the shortcut again, and no help request.
  QWidget* edit = window->findChild<QWidget*>(QStringLiteral("Edit2"));
  edit->setFocus(Qt::OtherFocusReason);
  calls->clear();
  guitest::key(edit, Qt::Key_F1);
  EXPECT_EQ(window->contentsClicks, 1);
  EXPECT_TRUE(calls->empty());
}

TEST_F(HelpRequests, F1InAModalWindowHasTheMainWindowAsOwner) {
  auto* main = Show<HelpProbe>();
  WindowFactories::Register(QStringLiteral("THelpProbeWithId"),
                            [] { return std::make_unique<HelpProbeWithId>(); });
  QTimer::singleShot(0, [&] {
    StoredWindow* modal = app->OwnedWindows().back();
    ASSERT_NE(modal, main);
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == modal; }));
    QWidget* edit = modal->findChild<QWidget*>(QStringLiteral("Edit2"));
    edit->setFocus(Qt::OtherFocusReason);
    guitest::key(edit, Qt::Key_F1);
    modal->Close();
  });
  EXPECT_EQ(app->RunModalWindow(QStringLiteral("THelpProbeWithId")), 2);
  EXPECT_EQ(*calls, std::vector<HelpCall>{Context(main, 1700)});
}

TEST_F(HelpRequests, HelpCommandsGoToTheStoredHelpFileWithTheMainWindowAsOwner) {
  app->ContextHelp(1200);
  auto* main = Show<HelpProbe>();
  app->HelpCommand(pellory::platform::kHelpContents, 0);
  app->ContextHelp(-1);
  const std::vector<HelpCall> expected = {
      {0, "fontl.hlp", pellory::platform::kHelpContext, 1200},  // no main window yet
      {main->winId(), "fontl.hlp", pellory::platform::kHelpContents, 0},
      Context(main, -1),
  };
  EXPECT_EQ(*calls, expected);
}

TEST_F(HelpRequests, TheEndTellsTheHelpEngineToQuitEvenIfHelpWasNeverOpened) {
  const struct {
    const char* helpFile;
    std::vector<HelpCall> expected;
  } cases[] = {
      {"fontl.hlp", {{0, "fontl.hlp", pellory::platform::kHelpQuit, 0}}},
      {"", {}},  // without a help file there is nothing to quit
  };
  for (const auto& c : cases) {
    if (!app) SetUp();
    Show<HelpProbe>();
    app->SetHelpFile(QLatin1String(c.helpFile));
    calls->clear();
    app->Shutdown();
    EXPECT_TRUE(calls->empty()) << "nothing before the application object goes";
    app.reset();
    EXPECT_EQ(*calls, c.expected) << "help file \"" << c.helpFile << "\"";
  }
}

TEST_F(HelpRequests, WhatTheHelpEngineCannotDoShowsInTheErrorDisplay) {
  // The platform's engine, on a help file that has no collection anywhere:
  // it tells why, once, in a box captioned with the title.
  app->SetHelpEngine([](WId owner, const QString& file, int command, quintptr data) {
    pellory::platform::RequestHelp(owner, file, command, data);
  });
  app->SetHelpFile(QStringLiteral("no-such-help.hlp"));
  app->HelpCommand(pellory::platform::kHelpContents, 0);
  app->ContextHelp(1000);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Pellory Fonts"));
  EXPECT_TRUE(boxes->front().text.contains(QStringLiteral("no-such-help.qhc")))
      << boxes->front().text.toStdString();
}

}  // namespace
