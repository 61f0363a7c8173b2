// pellory-window-probe BUTTON...: shows the main window on the catalogue of
// the engine configuration in force, as the program does, waits for the
// first record to be painted, then clicks the numbered category buttons in
// turn with real mouse events. For each click it writes
//   click BUTTON MILLISECONDS CPU_MILLISECONDS
// the time from the mouse press to the end of the paint that follows, and
// the processor time the probe took meanwhile (which a busy machine does
// not stretch); at the end
//   memory RESIDENT_KIB_AT_FIRST_PAINT RESIDENT_KIB_AFTER_THE_CLICKS
// An error box ends the probe with the box's text and exit code 3.
#include <time.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "pellory/data/session.h"
#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tform2.h"

namespace pellory::bench {
namespace {

constexpr int kExitFailed = 3;
constexpr auto kGiveUpAfter = std::chrono::seconds(120);

[[noreturn]] void Fail(const QString& reason) {
  std::fprintf(stderr, "pellory-window-probe: %s\n", reason.toLocal8Bit().constData());
  std::_Exit(kExitFailed);
}

class FailingPresenter : public shell::ErrorPresenter {
 public:
  void Present(const shell::ErrorBox& box) override { Fail(box.text); }
};

double CpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// Notes every paint of a control of the window.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~PaintWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
  bool painted = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_)
      painted = true;
    return false;
  }

 private:
  QWidget* window_;
};

// Processes events until a paint pass of the window has run: the pass
// paints every control the click changed and flushes the window before it
// returns to the event loop.
void WaitForPaint(PaintWatch& watch) {
  const auto deadline = std::chrono::steady_clock::now() + kGiveUpAfter;
  while (!watch.painted) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (std::chrono::steady_clock::now() > deadline) Fail(QStringLiteral("no repaint came"));
  }
}

void Click(QWidget* button) {
  const QPointF centre = QRectF(button->rect()).center();
  const QPointF global = button->mapToGlobal(centre);
  QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(button, &press);
  QCoreApplication::sendEvent(button, &release);
}

void RunClicks(ui::TForm2& form, const std::vector<int>& buttons) {
  PaintWatch watch(&form);
  // The first record's paint first.
  while (form.DBEdit1()->text().isEmpty() || !form.DBImage1()->PictureLoaded()) {
    watch.painted = false;
    WaitForPaint(watch);
  }
  watch.painted = false;
  WaitForPaint(watch);
  const long atFirstPaint = ResidentKiB();
  for (const int number : buttons) {
    ui::TButton* button = form.Button(number);
    if (!button) Fail(QStringLiteral("no Button%1").arg(number));
    const double cpuBefore = CpuMilliseconds();
    const auto pressed = std::chrono::steady_clock::now();
    Click(button);
    watch.painted = false;
    WaitForPaint(watch);
    const auto painted = std::chrono::steady_clock::now();
    std::printf("click %d %.3f %.3f\n", number,
                std::chrono::duration<double, std::milli>(painted - pressed).count(),
                CpuMilliseconds() - cpuBefore);
  }
  std::printf("memory %ld %ld\n", atFirstPaint, ResidentKiB());
  std::fflush(stdout);
}

int Run(int argc, char** argv) {
  std::vector<int> buttons;
  for (int i = 1; i < argc; ++i) buttons.push_back(std::atoi(argv[i]));
  shell::GuardedQApplication qtApplication(argc, argv);
  shell::TApplication application;
  application.SetErrorPresenter(std::make_unique<FailingPresenter>());
  application.SetTitle(QStringLiteral("Pellory Fonts"));
  ui::TForm2* form = nullptr;
  try {
    form = application.CreateForm<ui::TForm2>();
  } catch (const std::exception& error) {
    Fail(QString::fromUtf8(error.what()));
  }
  QTimer::singleShot(0, [&] {
    RunClicks(*form, buttons);
    application.Terminate();
  });
  application.Run();
  application.Shutdown();
  data::Session.Stop();
  return 0;
}

}  // namespace
}  // namespace pellory::bench

int main(int argc, char** argv) {
  return pellory::bench::Run(argc, argv);
}
