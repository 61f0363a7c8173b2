#include "pellory/programs/startup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include "pellory/data/session.h"
#include "pellory/programs/windows.h"
#include "pellory/shell/hourglass.h"
#include "pellory/shell/password_prompt.h"
#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/main/tform2.h"

namespace pellory::app {

namespace {

// The windowing toolkit paints nothing on a display of 256 colours or
// fewer; say so where someone can read it instead of leaving blank windows
// unexplained.
void WarnAboutPaletteDisplay() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || screen->depth() > 8) return;
  QTextStream(stderr) << "pellory: this display shows " << (1 << screen->depth())
                      << " colours or fewer, on which windows cannot be drawn; "
                         "use a display of 16-bit colour or more\n";
}

// The screen's font list is made once, at start, but only after the first
// paint: nothing before the installed fonts window needs it, and with
// thousands of fonts it takes tens of milliseconds that would otherwise
// come before the main window shows. Opened earlier, the installed fonts
// window makes it then.
class ScreenFontsAfterFirstPaint : public QObject {
 public:
  ScreenFontsAfterFirstPaint() { QCoreApplication::instance()->installEventFilter(this); }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      QCoreApplication::instance()->removeEventFilter(this);
      // After the paint under way has reached the screen.
      QTimer::singleShot(0, this, [] { shell::ScreenFonts::Names(); });
    }
    return false;
  }
};

// The session shows the hourglass through the shell while the program runs.
struct HourglassWhileRunning {
  HourglassWhileRunning() { data::Session.ShowHourglass = shell::ShowHourglass; }
  ~HourglassWhileRunning() { data::Session.ShowHourglass = nullptr; }
  HourglassWhileRunning(const HourglassWhileRunning&) = delete;
  HourglassWhileRunning& operator=(const HourglassWhileRunning&) = delete;
};

}  // namespace

int RunProgram(std::unique_ptr<shell::ErrorPresenter> presenter) {
  WarnAboutPaletteDisplay();
  const HourglassWhileRunning hourglass;
  shell::TApplication application;
  if (presenter) application.SetErrorPresenter(std::move(presenter));
  // A catalogue whose password the session lacks asks the user for one.
  const shell::PasswordPrompt passwordPrompt(data::Session);
  application.SetTitle(QStringLiteral("Pellory Fonts"));
  application.SetHelpFile(QStringLiteral("fontl.hlp"));
  RegisterWindows();
  try {
    application.CreateForm<ui::TForm2>();
  } catch (const std::exception& error) {
    application.ShowLastChance(error);
    return 1;
  } catch (...) {
    application.ShowLastChance(shell::ShellError(QStringLiteral("Unknown error")));
    return 1;
  }
  const ScreenFontsAfterFirstPaint screenFonts;
  application.Run();
  application.Shutdown();
  // The engine is let go while the application object still exists.
  data::Session.Stop();
  return 0;
}

}  // namespace pellory::app
