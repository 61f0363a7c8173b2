// The application object: title, guard and error display, hints, shutdown.
#include <QApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QStyle>

#include "gui_helpers.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/hint_controller.h"
#include "pellory/shell/shell_error.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;

using Application = shelltest::ShellTest;

TEST_F(Application, TitleReadsBackAtMost255Characters) {
  app->SetTitle(QString(300, QLatin1Char('x')));
  EXPECT_EQ(app->Title().size(), 255);
  app->SetTitle(QStringLiteral("Pellory Fonts"));
  EXPECT_EQ(app->Title(), QStringLiteral("Pellory Fonts"));
}

// Windows reach the application object through their host interface.
TEST_F(Application, IsTheWindowsHostWhileItLives) {
  EXPECT_EQ(WindowHost::Current(), app.get());
  EXPECT_EQ(TApplication::Instance(), app.get());
  app.reset();
  EXPECT_EQ(WindowHost::Current(), nullptr);
  EXPECT_EQ(TApplication::Instance(), nullptr);
}

TEST_F(Application, GuardShowsTheErrorAndCarriesOn) {
  bool after = false;
  app->Guard(
      [] { throw ShellError(QStringLiteral("There is no default printer currently selected")); });
  app->Guard([] { throw std::runtime_error("plain (std)"); });
  app->Guard([] { throw SilentAbort(); });
  app->Guard([] { throw 42; });
  app->Guard([&] { after = true; });
  EXPECT_TRUE(after);
  ASSERT_EQ(boxes->size(), 3u);  // The silent abort shows nothing.
  EXPECT_EQ((*boxes)[0].text, QStringLiteral("There is no default printer currently selected."));
  EXPECT_EQ((*boxes)[1].text, QStringLiteral("plain (std)"));
  EXPECT_EQ((*boxes)[2].text, QStringLiteral("Unknown error."));
  for (const ErrorBox& box : *boxes) {
    EXPECT_EQ(box.caption, QStringLiteral("Pellory Fonts"));
    EXPECT_EQ(box.icon, ErrorBox::Icon::Error);
    EXPECT_EQ(box.buttons, 1);
    EXPECT_EQ(box.modality, ErrorBox::Modality::Application);
  }
}

TEST_F(Application, GuardReleasesTheMouse) {
  QLabel grabbing;
  grabbing.show();
  grabbing.grabMouse();
  ASSERT_EQ(QWidget::mouseGrabber(), &grabbing);
  app->Guard([] { throw ShellError(QStringLiteral("x")); });
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(Application, LastChanceBox) {
  app->ShowLastChance(DescriptionMissingError(QStringLiteral("Resource TForm2 not found")));
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Application Error"));
  EXPECT_EQ(boxes->front().modality, ErrorBox::Modality::Task);
  EXPECT_TRUE(boxes->front().text.startsWith(
      QStringLiteral("Exception DescriptionMissingError in module ")));
  EXPECT_TRUE(boxes->front().text.endsWith(QStringLiteral(".\nResource TForm2 not found.")));
}

TEST_F(Application, HintsOnWithTheirTimings) {
  EXPECT_TRUE(app->ShowHint());
  EXPECT_EQ(app->HintPause(), 500);
  EXPECT_EQ(app->HintHidePause(), 2500);
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
  app->Shutdown();
  EXPECT_FALSE(app->ShowHint());
}

// The application style hands out standard icons that load when first
// used: each must draw exactly as the platform style's own.
TEST_F(Application, StandardIconsAreThePlatformStylesOwn) {
  auto* style = dynamic_cast<QProxyStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr);
  for (const QStyle::StandardPixmap which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_TitleBarCloseButton,
        QStyle::SP_MessageBoxCritical}) {
    const QIcon own = style->baseStyle()->standardIcon(which);
    const QIcon handed = style->standardIcon(which);
    const QIcon copy = handed;  // Copies share the loaded icon.
    EXPECT_FALSE(handed.isNull()) << which;
    EXPECT_EQ(handed.availableSizes(), own.availableSizes()) << which;
    EXPECT_EQ(handed.actualSize(QSize(16, 16)), own.actualSize(QSize(16, 16))) << which;
    EXPECT_EQ(copy.pixmap(16, 16).toImage(), own.pixmap(16, 16).toImage()) << which;
    EXPECT_EQ(handed.pixmap(32, 32, QIcon::Disabled).toImage(),
              own.pixmap(32, 32, QIcon::Disabled).toImage())
        << which;
  }
}

TEST_F(Application, HintComesFromTheNearestParentThatHasOne) {
  QWidget outer;
  auto* middle = new QWidget(&outer);
  auto* inner = new QWidget(middle);
  outer.setToolTip(QStringLiteral("outer hint"));
  EXPECT_EQ(HintController::HintFor(inner), QStringLiteral("outer hint"));
  middle->setToolTip(QStringLiteral("middle hint"));
  EXPECT_EQ(HintController::HintFor(inner), QStringLiteral("middle hint"));
  inner->setToolTip(QStringLiteral("own hint"));
  EXPECT_EQ(HintController::HintFor(inner), QStringLiteral("own hint"));

  // ShowHint: the nearest explicit setting decides; none means off.
  EXPECT_FALSE(HintController::ShowsHints(inner));
  HintController::SetShowHint(&outer, true);
  EXPECT_TRUE(HintController::ShowsHints(inner));
  HintController::SetShowHint(middle, false);
  EXPECT_FALSE(HintController::ShowsHints(inner));
  HintController::ClearShowHint(middle);
  EXPECT_TRUE(HintController::ShowsHints(inner));
}

TEST_F(Application, ShutdownDestroysOwnedWindowsAndRunWithoutMainWindowReturns) {
  app->Run();  // No main window: returns at once.
  EXPECT_FALSE(app->Terminated());
  DescriptionRegistry::Register(shelltest::PlainWindow(QStringLiteral("TProbeWindow")));
  QPointer<shelltest::ProbeWindow> first = app->CreateForm<shelltest::ProbeWindow>();
  QPointer<shelltest::ProbeWindow> second = app->CreateForm<shelltest::ProbeWindow>();
  EXPECT_EQ(app->MainForm(), first.data());
  second->Release();  // Released but not yet taken: destroyed by shutdown too.
  app->Shutdown();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
  guitest::pump();  // The pending release finds nothing left to do.
}

}  // namespace
