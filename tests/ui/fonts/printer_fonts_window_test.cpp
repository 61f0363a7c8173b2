// The installed fonts window on the machine's screen fonts and the resident
// fonts of a printer on a CUPS scheduler the test starts itself.
#include <QRadioButton>

#include "font_sources.h"
#include "gui_helpers.h"
#include "pellory/platform/printer_fonts.h"
#include "pellory/shell/screen_fonts.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"
#include "private_scheduler.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::ui;
using pellory::testkit::PpdWithFonts;
using pellory::testkit::PrivateScheduler;
using pellory::testkit::SchedulerEnvironment;

// Two faces the screen has (fonts-urw-base35), one in another letter case,
// and three it lacks, one of them twice.
const std::vector<std::string> kResident{"Zapf-Chancery", "c059",    "Courier",
                                         "P052",          "Courier", "Avant-Garde"};

QStringList Sorted(QStringList names) {
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

QStringList Without(QStringList names, const QStringList& gone) {
  names.removeIf([&](const QString& n) { return gone.contains(n, Qt::CaseInsensitive); });
  return names;
}

class PrinterFontsWindow : public shelltest::ShellTest {
 protected:
  static void SetUpTestSuite() {
    if (PrivateScheduler::Program().empty()) return;
    withDefault = std::make_unique<PrivateScheduler>(
        std::vector<pellory::testkit::PrintQueue>{{"Fonty", PpdWithFonts(kResident), true}});
    withoutDefault = std::make_unique<PrivateScheduler>(
        std::vector<pellory::testkit::PrintQueue>{{"Fonty", PpdWithFonts(kResident), false}});
  }
  static void TearDownTestSuite() {
    withDefault.reset();
    withoutDefault.reset();
  }
  void SetUp() override {
    ShellTest::SetUp();
    const QStringList& screen = pellory::shell::ScreenFonts::Names();
    if (!screen.contains(QStringLiteral("C059")) || !screen.contains(QStringLiteral("P052")))
      GTEST_SKIP() << "fonts-urw-base35 is not installed";
    if (!withDefault || !withDefault->Running())
      GTEST_SKIP() << (withDefault ? withDefault->Error() : "cupsd is not installed");
  }
  // The window on the machine's screen list and the printer's fonts as the
  // scheduler reports them, asked afresh for this window.
  TForm1* Open(const PrivateScheduler& scheduler) {
    env = std::make_unique<SchedulerEnvironment>(scheduler);
    auto printer = std::make_shared<pellory::platform::PrinterFonts>();
    scope = std::make_unique<fonttest::DefaultSourcesScope>(
        FontSources{[] { return pellory::shell::ScreenFonts::Names(); },
                    [printer] {
                      QStringList names;
                      for (const std::string& n : printer->Fonts())
                        names.append(QString::fromStdString(n));
                      return names;
                    }});
    form = app->CreateForm<TForm1>();
    form->show();
    guitest::pump();
    return form;
  }
  QStringList Choose(int index) {
    guitest::click(form->RadioGroup1()->Button(index));
    return fonttest::Names(*form->GLFontListBox1());
  }

  static std::unique_ptr<PrivateScheduler> withDefault;
  static std::unique_ptr<PrivateScheduler> withoutDefault;
  std::unique_ptr<SchedulerEnvironment> env;
  std::unique_ptr<fonttest::DefaultSourcesScope> scope;
  TForm1* form = nullptr;
};
std::unique_ptr<PrivateScheduler> PrinterFontsWindow::withDefault;
std::unique_ptr<PrivateScheduler> PrinterFontsWindow::withoutDefault;

TEST_F(PrinterFontsWindow, EachChoiceSplitsOrMergesScreenAndPrinter) {
  Open(*withDefault);
  const QStringList screen = pellory::shell::ScreenFonts::Names();
  const QStringList shared{"C059", "P052"};
  EXPECT_EQ(fonttest::Names(*form->GLFontListBox1()), Without(screen, shared))
      << "the screen list leaves out the fonts the printer has";
  EXPECT_EQ(Choose(1), QStringList({"Avant-Garde", "Courier", "Courier", "Zapf-Chancery"}))
      << "exactly the printer's fonts the screen lacks, as often as the PPD lists them";
  EXPECT_EQ(form->Label1()->Caption(), QStringLiteral("4 fonts available"));
  QStringList both = Without(screen, shared);
  both << "Avant-Garde"
       << "c059"
       << "Courier"
       << "P052"
       << "Zapf-Chancery";
  EXPECT_EQ(Choose(2), Sorted(both)) << "merged once each, c059 as the printer spells it";
  EXPECT_EQ(Choose(0), Without(screen, shared));
  EXPECT_EQ(form->Label1()->Caption(),
            QStringLiteral("%1 fonts available").arg(screen.size() - shared.size()));
  EXPECT_TRUE(boxes->empty());
}

TEST_F(PrinterFontsWindow, WithoutADefaultDestinationOnlyPrinterComplains) {
  ASSERT_TRUE(withoutDefault && withoutDefault->Running()) << withoutDefault->Error();
  Open(*withoutDefault);
  const QStringList screen = pellory::shell::ScreenFonts::Names();
  EXPECT_EQ(fonttest::Names(*form->GLFontListBox1()), screen);
  EXPECT_EQ(Choose(2), screen);
  const QString count = form->Label1()->Caption();
  EXPECT_EQ(count, QStringLiteral("%1 fonts available").arg(screen.size()));
  EXPECT_TRUE(Choose(1).isEmpty());
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().text, QStringLiteral("There is no default printer currently selected."));
  EXPECT_EQ(form->Label1()->Caption(), count) << "the count is left as it was";
}

}  // namespace
