// The installed fonts window: its stored layout, how it opens, the choice
// of font type and the count, its failures, and its modal run.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>

#include "font_sources.h"
#include "gui_helpers.h"
#include "pellory/platform/print_errors.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/hint_controller.h"
#include "pellory/shell/window_factories.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::ui;
using fonttest::Names;
using fonttest::SwitchablePrinter;
using pellory::platform::NoDefaultPrinterError;
using pellory::platform::PrintQueryError;
using pellory::shell::WindowFactories;

const QStringList kWindowScreen{"Alpha", "Courier", "Default", "Echo"};
const QStringList kPrinter{"Zapf-Chancery", "COURIER", "Bravo"};

class FontsWindow : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    WindowFactories::Register(QStringLiteral("TForm1"), [] { return std::make_unique<TForm1>(); });
    printer->printer = [] { return kPrinter; };
  }
  void TearDown() override {
    form = nullptr;
    ShellTest::TearDown();
  }
  TForm1* Open() {
    form = app->CreateForm<TForm1>();
    form->show();
    guitest::pump();
    return form;
  }
  QRadioButton* Choice(int index) const { return form->RadioGroup1()->Button(index); }
  QString Count() const { return form->Label1()->Caption(); }

 public:
  template <class Error, class... Args>
  void PrinterFails(Args... args) {
    printer->printer = [=]() -> QStringList { throw Error(args...); };
  }

 protected:
  std::shared_ptr<SwitchablePrinter> printer = std::make_shared<SwitchablePrinter>();
  fonttest::DefaultSourcesScope sources{fonttest::Sources(kWindowScreen, printer)};
  TForm1* form = nullptr;
};

TEST_F(FontsWindow, StoredLayout) {
  Open();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Master installed font display"));
  EXPECT_EQ(form->frameGeometry().size(), QSize(471, 414));
  const struct {
    QWidget* control;
    QRect place;
  } places[] = {
      {form->Bevel1(), {8, 8, 441, 329}},
      {form->RadioGroup1(), {323, 216, 113, 105}},
      {form->GLFontListBox1(), {24, 24, 281, 305}},
  };
  for (const auto& p : places)
    EXPECT_EQ(p.control->geometry(), p.place) << p.control->objectName().toStdString();
  EXPECT_EQ(form->Label1()->pos(), QPoint(24, 336));
  const char* captions[] = {"&Screen", "&Printer", "&Both"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Choice(i)->geometry(), QRect(8, 14 + 29 * i, 103, 29)) << i;
    EXPECT_EQ(Choice(i)->text(), QLatin1String(captions[i]));
  }
  EXPECT_EQ(form->RadioGroup1()->Caption(), QStringLiteral("&Font Type"));
  EXPECT_EQ(form->RadioGroup1()->HelpContext(), 1600);
  EXPECT_EQ(form->Exit1()->HelpContext(), 1800);
  EXPECT_EQ(form->Exit1()->Caption(), QStringLiteral("&Return to main"));
  const QList<QAction*> menus = form->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
  // The buttons have no hint of their own and show the group's.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pellory::shell::HintController::HintFor(Choice(i)),
              QStringLiteral("Select display "));
    EXPECT_TRUE(pellory::shell::HintController::ShowsHints(Choice(i)));
  }
}

TEST_F(FontsWindow, OpensOnTheScreenFontsWithoutACount) {
  Open();
  EXPECT_TRUE(Choice(0)->isChecked());
  EXPECT_EQ(form->RadioGroup1()->ItemIndex(), 0);
  EXPECT_EQ(Names(*form->GLFontListBox1()), QStringList({"Alpha", "Default", "Echo"}));
  EXPECT_EQ(form->GLFontListBox1()->SelectedFont(), QStringLiteral("<none>"));
  EXPECT_EQ(Count(), QString());
  EXPECT_EQ(QApplication::focusWidget(), Choice(0));
  // Clicking the checked choice changes nothing.
  guitest::click(Choice(0));
  EXPECT_EQ(Count(), QString());
}

TEST_F(FontsWindow, EachChoiceRebuildsAndCounts) {
  Open();
  using Step = std::function<void()>;
  const struct {
    const char* what;
    Step choose;
    int checked;
    QStringList names;
  } steps[] = {
      {"click Printer", [&] { guitest::click(Choice(1)); }, 1, {"Bravo", "Zapf-Chancery"}},
      {"click Screen", [&] { guitest::click(Choice(0)); }, 0, {"Alpha", "Default", "Echo"}},
      {"letter B on the group",
       [&] { guitest::key(Choice(0), Qt::Key_B); },
       2,
       {"Alpha", "Bravo", "COURIER", "Default", "Echo", "Zapf-Chancery"}},
      {"arrow up", [&] { guitest::key(Choice(2), Qt::Key_Up); }, 1, {"Bravo", "Zapf-Chancery"}},
      {"letter s",
       [&] { guitest::type(Choice(1), QStringLiteral("s")); },
       0,
       {"Alpha", "Default", "Echo"}},
  };
  for (const auto& s : steps) {
    s.choose();
    EXPECT_TRUE(Choice(s.checked)->isChecked()) << s.what;
    EXPECT_EQ(QApplication::focusWidget(), Choice(s.checked)) << s.what;
    EXPECT_EQ(Names(*form->GLFontListBox1()), s.names) << s.what;
    EXPECT_EQ(Count(), QStringLiteral("%1 fonts available").arg(s.names.size())) << s.what;
  }
  printer->printer = [] { return QStringList(); };
  guitest::click(Choice(1));
  EXPECT_EQ(Count(), QStringLiteral("0 fonts available"));
  EXPECT_TRUE(boxes->empty());
}

TEST_F(FontsWindow, APrinterFailureAtOpeningIsAReadingErrorAndNoWindowOpens) {
  PrinterFails<PrintQueryError>(1025, std::string("Forbidden"));
  EXPECT_EQ(app->RunModalWindow(QStringLiteral("TForm1")), 0);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().text,
            "Error reading GLFontListBox1.SelectedFont: Win32 Error.  Code: 1025.\nForbidden.");
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Pellory Fonts"));
  guitest::pump();
  EXPECT_TRUE(app->OwnedWindows().empty());
}

TEST_F(FontsWindow, APrinterFailureLaterLeavesTheChoiceAnEmptyListAndTheOldCount) {
  const struct {
    const char* what;
    std::function<void(FontsWindow&)> fail;
    int choice;
    QString message;
  } cases[] = {
      {"refused query",
       [](FontsWindow& t) { t.PrinterFails<PrintQueryError>(1025, std::string("Forbidden")); }, 2,
       "Win32 Error.  Code: 1025.\nForbidden."},
      {"no default printer", [](FontsWindow& t) { t.PrinterFails<NoDefaultPrinterError>(); }, 1,
       "There is no default printer currently selected."},
  };
  for (const auto& c : cases) {
    printer->printer = [] { return kPrinter; };
    boxes->clear();
    Open();
    guitest::click(Choice(c.choice == 1 ? 2 : 1));
    const QString before = Count();
    ASSERT_FALSE(before.isEmpty());
    c.fail(*this);
    guitest::click(Choice(c.choice));
    ASSERT_EQ(boxes->size(), 1u) << c.what;
    EXPECT_EQ(boxes->front().text, c.message) << c.what;
    EXPECT_TRUE(Choice(c.choice)->isChecked()) << c.what;
    EXPECT_EQ(form->GLFontListBox1()->Count(), 0) << c.what;
    EXPECT_EQ(Count(), before) << c.what;
    delete form;
  }
}

TEST_F(FontsWindow, WithoutADefaultPrinterScreenAndBothStillList) {
  PrinterFails<NoDefaultPrinterError>();
  Open();
  EXPECT_EQ(Names(*form->GLFontListBox1()), kWindowScreen);
  guitest::click(Choice(2));
  EXPECT_EQ(Names(*form->GLFontListBox1()), kWindowScreen);
  EXPECT_EQ(Count(), QStringLiteral("4 fonts available"));
  EXPECT_TRUE(boxes->empty());
}

TEST_F(FontsWindow, ReturnToMainAndTheCloseBoxEndTheModalRunWithTwo) {
  pellory::shell::DescriptionRegistry::Register(
      shelltest::PlainWindow(QStringLiteral("TProbeWindow")));
  auto* main = app->CreateForm<shelltest::ProbeWindow>();
  ASSERT_EQ(main, app->MainForm());
  main->show();
  const struct {
    const char* how;
    std::function<void(TForm1*)> end;
  } ways[] = {
      {"File, Return to main", [](TForm1* w) { w->Exit1()->Action()->trigger(); }},
      {"close box", [](TForm1* w) { w->close(); }},
  };
  for (const auto& way : ways) {
    bool mainDisabled = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* fonts = dynamic_cast<TForm1*>(w); fonts && fonts->isVisible()) {
          mainDisabled = !main->isEnabled();
          way.end(fonts);
        }
    });
    EXPECT_EQ(app->RunModalWindow(QStringLiteral("TForm1")), 2) << way.how;
    EXPECT_TRUE(mainDisabled) << way.how;
    EXPECT_TRUE(main->isEnabled()) << way.how;
  }
  EXPECT_TRUE(boxes->empty());
}

}  // namespace
