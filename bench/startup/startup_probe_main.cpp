// pellory-startup-probe program|empty|text: starts as the program does, up
// to its main window painted with the first record of the catalogue, or as
// a bare Qt program showing an empty window, or one line of text (what any
// window with text pays for the font database). At that moment it writes
// its shown line (startup_stages.h) to standard output and ends.
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "first_paint_watch.h"
#include "pellory/data/session.h"
#include "pellory/shell/font_preload.h"
#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tform2.h"
#include "startup_stages.h"

namespace pellory::bench {
namespace {

constexpr int kExitFailed = 3;
constexpr int kGiveUpAfterMs = 60'000;
// The main window's stored outer size: the bare windows fill and flush as
// many pixels as the program does.
constexpr QSize kMainWindowSize(680, 486);

[[noreturn]] void Fail(const QString& reason) {
  std::fprintf(stderr, "pellory-startup-probe: %s\n", reason.toLocal8Bit().constData());
  std::_Exit(kExitFailed);
}

// An error box would wait for a click that never comes: the probe reports
// the error and ends instead.
class FailingPresenter : public shell::ErrorPresenter {
 public:
  void Present(const shell::ErrorBox& box) override { Fail(box.text); }
};

// The main window, marking when its catalogue opening begins and ends.
class TimedMainWindow : public ui::TForm2 {
 protected:
  void OpenCatalogue() override {
    Stages().Mark("open_begin");
    ui::TForm2::OpenCatalogue();
    Stages().Mark("open_end");
  }
};

void ReportShown() {
  Stages().Mark("shown");
  const std::string line = Stages().ShownLine();
  if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
    Fail(QStringLiteral("cannot write the shown line"));
}

void GiveUpLater() {
  QTimer::singleShot(kGiveUpAfterMs, [] { Fail(QStringLiteral("the window was never shown")); });
}

bool FirstRecordShown(const ui::TForm2& form) {
  return !form.DBEdit1()->text().isEmpty() && form.DBImage1()->PictureLoaded();
}

int RunProgramStart(int argc, char** argv) {
  const shell::FontPreload fonts;
  shell::GuardedQApplication qtApplication(argc, argv);
  Stages().Mark("qapp");
  shell::TApplication application;
  Stages().Mark("tapp");
  application.SetErrorPresenter(std::make_unique<FailingPresenter>());
  application.SetTitle(QStringLiteral("Pellory Fonts"));
  application.SetHelpFile(QStringLiteral("fontl.hlp"));
  TimedMainWindow* form = nullptr;
  try {
    form = application.CreateForm<TimedMainWindow>();
  } catch (const std::exception& error) {
    Fail(QString::fromUtf8(error.what()));
  }
  Stages().Mark("form");
  FirstPaintWatch watch(
      form, [form] { return FirstRecordShown(*form); },
      [&application] {
        ReportShown();
        application.Terminate();
      });
  GiveUpLater();
  application.Run();
  application.Shutdown();
  data::Session.Stop();
  return 0;
}

enum class BareWindow { Empty, Text };

std::unique_ptr<QWidget> MakeBareWindow(BareWindow content) {
  if (content == BareWindow::Text)
    return std::make_unique<QLabel>(QStringLiteral("Sphinx of black quartz, judge my vow"));
  return std::make_unique<QWidget>();
}

int RunBareWindow(int argc, char** argv, BareWindow content) {
  QApplication qtApplication(argc, argv);
  Stages().Mark("qapp");
  const auto window = MakeBareWindow(content);
  FirstPaintWatch watch(
      window.get(), [] { return true; },
      [] {
        ReportShown();
        QCoreApplication::quit();
      });
  GiveUpLater();
  window->resize(kMainWindowSize);
  window->show();
  return QApplication::exec();
}

}  // namespace
}  // namespace pellory::bench

int main(int argc, char** argv) {
  pellory::bench::Stages().Mark("main");
  if (argc == 2 && std::strcmp(argv[1], "program") == 0)
    return pellory::bench::RunProgramStart(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "empty") == 0)
    return pellory::bench::RunBareWindow(argc, argv, pellory::bench::BareWindow::Empty);
  if (argc == 2 && std::strcmp(argv[1], "text") == 0)
    return pellory::bench::RunBareWindow(argc, argv, pellory::bench::BareWindow::Text);
  std::fprintf(stderr, "usage: pellory-startup-probe program|empty|text\n");
  return 2;
}
