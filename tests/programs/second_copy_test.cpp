// The program from start to exit as the first copy and as a second one,
// offscreen: its own stored description decides what a second copy says.
#include <QApplication>
#include <QTimer>

#include "pellory/platform/named_mutex.h"
#include "pellory/programs/startup.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/main/main_window_description.h"
#include "pellory/ui/main/tform2.h"
#include "shell_test_support.h"
#include "test_catalogue.h"

namespace {

using namespace pellory;
using platform::NamedMutex;

ui::TForm2* ShownMainWindow() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* w = dynamic_cast<ui::TForm2*>(top); w && w->isVisible()) return w;
  return nullptr;
}

bool NameHeld() {
  return NamedMutex::Create("Tessal 4").Result() == NamedMutex::Outcome::AlreadyExisted;
}

// The main window's description with ShowErrorMessage stored on GLRunOnce1.
shell::WindowDescription WithoutErrorMessage() {
  shell::WindowDescription d = ui::MainWindowDescription();
  for (auto& component : d.components)
    if (component.name == QLatin1String("GLRunOnce1"))
      component.properties.push_back({"ShowErrorMessage", false});
  return d;
}

struct Copy {
  const char* what;
  bool anotherRunning;
  bool storedWithoutMessage;
  int boxes;
};

TEST(Program, SecondCopyReportsOpensItsCatalogueAndEndsWithZero) {
  const cataloguetest::TestCatalogue catalogue(cataloguetest::Numbered(2));
  const Copy copies[] = {
      {"first copy", false, false, 0},
      {"second copy", true, false, 1},
      {"second copy, ShowErrorMessage false", true, true, 0},
  };
  for (const Copy& copy : copies) {
    SCOPED_TRACE(copy.what);
    ui::RegisterMainWindow();
    if (copy.storedWithoutMessage) shell::DescriptionRegistry::Register(WithoutErrorMessage());
    NamedMutex running;
    if (copy.anotherRunning) {
      running = NamedMutex::Create("Tessal 4");
      running.ReleaseOwnership();
    }
    QString status;
    bool shown = false, heldWhileRunning = false;
    // Runs as the main loop's first event: after construction, before the
    // quit request a second copy has posted.
    QTimer::singleShot(0, [&] {
      ui::TForm2* w = ShownMainWindow();
      shown = w != nullptr;
      if (!w) return;
      status = w->Label(5)->Caption();
      heldWhileRunning = NameHeld();
      if (!copy.anotherRunning) w->close();
    });
    auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
    EXPECT_EQ(app::RunProgram(std::make_unique<shelltest::RecordingPresenter>(boxes)), 0);
    shell::DescriptionRegistry::Register(ui::MainWindowDescription());
    EXPECT_TRUE(shown) << "the main loop shows the window";
    EXPECT_EQ(status, QStringLiteral("All fonts")) << "FormCreate has opened the catalogue";
    EXPECT_TRUE(heldWhileRunning);
    ASSERT_EQ(int(boxes->size()), copy.boxes);
    if (copy.boxes) {
      EXPECT_EQ(boxes->front().caption, QStringLiteral("Error"));
      EXPECT_EQ(boxes->front().text, QStringLiteral("Font search is already running."));
      EXPECT_EQ(boxes->front().form, shell::ErrorBox::Form::MessageDialog);
    }
    running = NamedMutex();
    EXPECT_FALSE(NameHeld()) << "nothing is left once the program has ended";
  }
}

}  // namespace
