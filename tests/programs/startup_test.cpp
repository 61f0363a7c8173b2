// The whole program from start to exit, offscreen.
#include "pellory/programs/startup.h"

#include <QApplication>
#include <QCursor>
#include <QMenuBar>
#include <QTimer>

#include "fake_engine.h"
#include "gui_helpers.h"
#include "pellory/data/session.h"
#include "pellory/platform/help_engine.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/main/main_window_description.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tform2.h"
#include "program_run.h"
#include "shell_test_support.h"
#include "test_catalogue.h"

namespace {

using namespace pellory;

pellory::ui::TForm2* MainWindow() {
  return programtest::Visible<pellory::ui::TForm2>();
}

using programtest::RunProgramAnd;

TEST(Program, EveryWayOfEndingExitsWithZero) {
  const cataloguetest::TestCatalogue catalogue(cataloguetest::Numbered(2));
  const std::pair<const char*, std::function<void(pellory::ui::TForm2*)>> ways[] = {
      {"File, Exit",
       [](pellory::ui::TForm2* w) { w->MenuItem(QStringLiteral("Exit1"))->Action()->trigger(); }},
      {"close box", [](pellory::ui::TForm2* w) { w->close(); }},
  };
  for (const auto& [how, act] : ways) {
    auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
    QString caption;
    EXPECT_EQ(RunProgramAnd(
                  [&, act = act](pellory::ui::TForm2* w) {
                    caption = w->windowTitle();
                    act(w);
                  },
                  boxes),
              0)
        << how;
    EXPECT_EQ(caption, QStringLiteral("Font search")) << how;
    EXPECT_TRUE(boxes->empty()) << how;
    guitest::pump();
    EXPECT_EQ(MainWindow(), nullptr) << how << ": shut down";
  }
}

TEST(Program, F1OpensTheHelpContentsAndTheHelpEngineQuitsAtTheEnd) {
  const cataloguetest::TestCatalogue catalogue(cataloguetest::Numbered(2));
  auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
  auto calls = std::make_shared<std::vector<shelltest::HelpCall>>();
  WId mainWindow = 0;
  EXPECT_EQ(
      RunProgramAnd(
          [&](pellory::ui::TForm2* w) {
            shell::TApplication::Instance()->SetHelpEngine(shelltest::RecordingHelpEngine(calls));
            mainWindow = w->winId();
            // F1 is a shortcut of the active window.
            ASSERT_TRUE(guitest::pumpUntil([w] { return QApplication::activeWindow() == w; }));
            guitest::key(w->DBEdit1(), Qt::Key_F1);
            w->MenuItem(QStringLiteral("Exit1"))->Action()->trigger();
          },
          boxes),
      0);
  const std::vector<shelltest::HelpCall> expected = {
      {mainWindow, QStringLiteral("fontl.hlp"), platform::kHelpContents, 0},
      {0, QStringLiteral("fontl.hlp"), platform::kHelpQuit, 0},
  };
  EXPECT_EQ(*calls, expected);
  EXPECT_TRUE(boxes->empty());
}

// Notes the pointer's shape while the engine initialises.
class CursorWatchingEngine : public data::testing::FakeEngine {
 public:
  data::EngineResult Initialise(const std::string& language) override {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    shapes.push_back(cursor ? cursor->shape() : Qt::BlankCursor);
    return FakeEngine::Initialise(language);
  }
  std::vector<Qt::CursorShape> shapes;  // Qt::BlankCursor: no override cursor
};

TEST(Program, TheHourglassShowsWhileTheEngineStarts) {
  auto engine = std::make_shared<CursorWatchingEngine>();
  data::Session.SetEngine(engine);
  auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
  // The engine in memory has no catalogue; its error box is no concern here.
  const int code = RunProgramAnd([](pellory::ui::TForm2* w) { w->close(); }, boxes);
  data::Session.SetEngine(nullptr);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(engine->shapes, std::vector<Qt::CursorShape>{Qt::WaitCursor});
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Program, ErrorEscapingStartUpShowsTheLastChanceBoxAndExitsWithOne) {
  shell::WindowDescription broken = ui::MainWindowDescription();
  broken.components.front().properties.push_back({"Shape", QStringLiteral("bsNoSuchShape")});
  ui::RegisterMainWindow();
  shell::DescriptionRegistry::Register(broken);
  auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
  const int code = app::RunProgram(std::make_unique<shelltest::RecordingPresenter>(boxes));
  shell::DescriptionRegistry::Register(ui::MainWindowDescription());
  EXPECT_EQ(code, 1);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Application Error"));
  EXPECT_TRUE(
      boxes->front().text.startsWith(QStringLiteral("Exception DescriptionReadError in module ")))
      << boxes->front().text.toStdString();
  EXPECT_TRUE(boxes->front().text.endsWith(
      QStringLiteral("\nError reading Bevel1.Shape: Invalid property value.")))
      << boxes->front().text.toStdString();
}

}  // namespace
