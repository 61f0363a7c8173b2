// Loaded into an installed copy of the program with LD_PRELOAD by the
// installation check, which cannot reach into the program otherwise. Once
// the main window shows a record with its picture, it prints
//   font name: TEXT           the font name box
//   picture colours: N        distinct colours in the picture box
//   engine: PATH              the engine library the program loaded
//   table: PATH               each table file the program holds open
//   desktop entry: NAME       the desktop entry the program names as its own
// and, with PELLORY_PROBE_HELP set, presses F1 in the window and prints
//   help viewer: ARGS         each argument the help viewer was started with
// then closes the window, so the program ends as after a user's close. An
// error box instead prints "error box: TEXT" and ends the program with exit
// code 3; nothing shown within a minute ends it with exit code 4.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPollMs = 50;
constexpr int kGiveUpMs = 60'000;

void Say(const QString& line) {
  std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
  std::fflush(stdout);
}

// The files of the process's memory map whose name is `name`.
QStringList MappedFiles(const QString& name) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  QStringList found;
  if (!maps.open(QIODevice::ReadOnly)) return found;
  for (const QString& line : QString::fromLocal8Bit(maps.readAll()).split(QLatin1Char('\n'))) {
    const QString path = line.section(QLatin1Char(' '), -1);
    if (path.endsWith(QLatin1Char('/') + name) && !found.contains(path)) found << path;
  }
  return found;
}

QStringList OpenTableFiles() {
  QStringList found;
  const QDir fds(QStringLiteral("/proc/self/fd"));
  for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
    const QString target = QFile::symLinkTarget(fds.filePath(fd));
    if (target.endsWith(QStringLiteral(".DB"), Qt::CaseInsensitive)) found << target;
  }
  return found;
}

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return int(colours.size());
}

void ReportErrorBoxes() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
      Say(QStringLiteral("error box: ") + box->text());
      std::_Exit(3);
    }
}

// The shown main window once its font name and picture are there.
QWidget* MainWindowWithRecord() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    const auto* name = window->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    const auto* picture = window->findChild<QWidget*>(QStringLiteral("DBImage1"));
    if (name && picture && !name->text().isEmpty()) return window;
  }
  return nullptr;
}

void Report(QWidget* window) {
  const auto* name = window->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
  auto* picture = window->findChild<QWidget*>(QStringLiteral("DBImage1"));
  Say(QStringLiteral("font name: ") + name->text());
  Say(QStringLiteral("picture colours: %1").arg(DistinctColours(picture->grab().toImage())));
  for (const QString& path : MappedFiles(QStringLiteral("libpellory_engine.so")))
    Say(QStringLiteral("engine: ") + path);
  for (const QString& path : OpenTableFiles()) Say(QStringLiteral("table: ") + path);
  Say(QStringLiteral("desktop entry: ") + QGuiApplication::desktopFileName());
}

// A process's arguments as /proc tells them.
QStringList Arguments(const QString& pid) {
  QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
  if (!cmdline.open(QIODevice::ReadOnly)) return {};
  return QString::fromLocal8Bit(cmdline.readAll()).split(QChar(0), Qt::SkipEmptyParts);
}

// The arguments of the processes this one has started.
QList<QStringList> ChildProcesses() {
  QList<QStringList> children;
  const QString self = QString::number(::getpid());
  for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    // pid (name) state ppid ...: the name may hold blanks, so read after ')'.
    const QString line = QString::fromLocal8Bit(stat.readAll());
    const QStringList after = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(u' ');
    if (after.size() < 2 || after.at(1) != self) continue;
    children << Arguments(pid);
  }
  return children;
}

// The started processes once each runs its own program: between the fork
// and the exec a child's arguments read empty or as this process's own.
QList<QStringList> StartedPrograms() {
  const QStringList own = Arguments(QStringLiteral("self"));
  QList<QStringList> children;
  (void)QTest::qWaitFor(
      [&] {
        children = ChildProcesses();
        return std::none_of(children.begin(), children.end(), [&](const QStringList& child) {
          return child.isEmpty() || child == own;
        });
      },
      5000);
  return children;
}

// F1 as the user presses it; the help engine starts its viewer before the
// key's handler returns, or shows why it cannot.
void PressHelp(QWidget* window) {
  // Shortcuts reach only the active window's controls.
  window->activateWindow();
  // Offscreen a window may never become active; F1 then goes to the window.
  (void)QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000);
  QWidget* focused = QApplication::focusWidget();
  QTest::keyClick(focused ? focused : window, Qt::Key_F1);
  ReportErrorBoxes();
  for (const QStringList& child : StartedPrograms())
    Say(QStringLiteral("help viewer: ") + child.join(QLatin1Char(' ')));
}

void StartWatching() {
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, [timer, waited = 0]() mutable {
    ReportErrorBoxes();
    if (QWidget* window = MainWindowWithRecord()) {
      timer->stop();
      Report(window);
      if (qEnvironmentVariableIsSet("PELLORY_PROBE_HELP")) PressHelp(window);
      window->close();
    } else if ((waited += kPollMs) >= kGiveUpMs) {
      Say(QStringLiteral("nothing shown"));
      std::_Exit(4);
    }
  });
  timer->start(kPollMs);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartWatching)
