// pellory-screenshots OUTDIR: renders every window of the program to PNG
// files so that anyone can look at what it shows.
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTextStream>

#include "app/guarded_qapplication.h"
#include "app/tapplication.h"
#include "ui/main/tform2.h"

namespace {

bool Save(QWidget* window, const QDir& dir, const QString& name) {
  window->show();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  const QString path = dir.filePath(name);
  if (!window->grab().save(path)) {
    QTextStream(stderr) << "pellory-screenshots: cannot write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  pellory::app::GuardedQApplication qtApplication(argc, argv);
  if (argc != 2) {
    QTextStream(stderr) << "usage: pellory-screenshots OUTDIR\n";
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    QTextStream(stderr) << "pellory-screenshots: cannot create " << dir.path() << "\n";
    return 1;
  }
  pellory::app::TApplication application;
  application.SetTitle(QStringLiteral("Pellory Fonts"));
  // The main window in its construction state: no catalogue is opened.
  auto* main = application.CreateForm<pellory::ui::TForm2>();
  bool ok = Save(main, dir, QStringLiteral("main-window.png"));
  // Each drop-down menu of the main window, to show captions and shortcuts.
  for (QAction* entry : main->menuBar()->actions()) {
    QMenu* menu = entry->menu();
    if (!menu) continue;
    menu->popup(main->mapToGlobal(main->menuBar()->actionGeometry(entry).bottomLeft()));
    const QString name = entry->text().remove(QLatin1Char('&')).toLower();
    ok = Save(menu, dir, QStringLiteral("main-window-menu-%1.png").arg(name)) && ok;
    menu->hide();
  }
  application.Shutdown();
  return ok ? 0 : 1;
}
