// pellory-fonts-window-probe: opens the installed fonts window as F6 does,
// on the machine's fonts and a printer with the 35 standard PostScript
// faces, after drawing a line of text as the main window has by then. For
// each step it writes
//   STEP MILLISECONDS CPU_MILLISECONDS
// from the step's start to the end of the list's paint that follows: `open`
// (the window made and shown), `printer`, `both` and `screen` (each choice
// clicked in turn), `reopen` (the window closed, destroyed and opened
// again); then `families N`, the screen list's length.
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QRadioButton>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"

namespace pellory::bench {
namespace {

const QStringList kPostScriptFaces{
    "AvantGarde-Book",
    "AvantGarde-BookOblique",
    "AvantGarde-Demi",
    "AvantGarde-DemiOblique",
    "Bookman-Demi",
    "Bookman-DemiItalic",
    "Bookman-Light",
    "Bookman-LightItalic",
    "Courier",
    "Courier-Bold",
    "Courier-BoldOblique",
    "Courier-Oblique",
    "Helvetica",
    "Helvetica-Bold",
    "Helvetica-BoldOblique",
    "Helvetica-Narrow",
    "Helvetica-Narrow-Bold",
    "Helvetica-Narrow-BoldOblique",
    "Helvetica-Narrow-Oblique",
    "Helvetica-Oblique",
    "NewCenturySchlbk-Bold",
    "NewCenturySchlbk-BoldItalic",
    "NewCenturySchlbk-Italic",
    "NewCenturySchlbk-Roman",
    "Palatino-Bold",
    "Palatino-BoldItalic",
    "Palatino-Italic",
    "Palatino-Roman",
    "Symbol",
    "Times-Bold",
    "Times-BoldItalic",
    "Times-Italic",
    "Times-Roman",
    "ZapfChancery-MediumItalic",
    "ZapfDingbats",
};

double CpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Counts the paints of the widgets it watches.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

ui::TForm1* Open(shell::TApplication& application, PaintCounter& counter) {
  auto* form = application.CreateForm<ui::TForm1>();
  form->GLFontListBox1()->viewport()->installEventFilter(&counter);
  form->show();
  return form;
}

// Times `step` to the end of the list's paint that follows, and of the
// events posted meanwhile (another paint when measured rows moved others).
void Time(const char* name, PaintCounter& counter, const std::function<void()>& step) {
  QElapsedTimer clock;
  const double cpu = CpuMilliseconds();
  clock.start();
  const int before = counter.paints;
  step();
  while (counter.paints == before) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (clock.elapsed() > 60'000) {
      std::fprintf(stderr, "pellory-fonts-window-probe: %s never painted the list\n", name);
      std::exit(3);
    }
  }
  QCoreApplication::processEvents();
  std::printf("%s %.3f %.3f\n", name, double(clock.nsecsElapsed()) / 1e6, CpuMilliseconds() - cpu);
}

int Run() {
  // As at the program's start: the screen list, then the main window's text.
  const QStringList& screen = shell::ScreenFonts::Names();
  ui::TGLFontListBox::SetDefaultSources(
      {[&screen] { return screen; }, [] { return kPostScriptFaces; }});
  shell::TApplication application;
  QFontMetrics(shell::StoredFont{QStringLiteral("MS Sans Serif"), -11}.ToQFont()).height();

  PaintCounter counter;
  ui::TForm1* form = nullptr;
  Time("open", counter, [&] { form = Open(application, counter); });
  const char* const choices[] = {"printer", "both", "screen"};
  for (int choice : {1, 2, 0})
    Time(choices[choice == 0 ? 2 : choice - 1], counter,
         [&] { form->RadioGroup1()->Button(choice)->click(); });
  Time("reopen", counter, [&] {
    form->close();
    form->Release();
    QCoreApplication::processEvents();
    form = Open(application, counter);
  });
  std::printf("families %lld\n", static_cast<long long>(screen.size()));
  return 0;
}

}  // namespace
}  // namespace pellory::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return pellory::bench::Run();
}
