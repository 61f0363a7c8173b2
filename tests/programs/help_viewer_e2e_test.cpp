// The program's help in the real viewer, on an X display (the test runs
// under xvfb-run): F1 opens Qt Assistant on the contents, F1 on a highlighted
// menu command opens its topic in a viewer started again after the user
// closed the first, and ending the program ends the viewer. Pictures of the
// viewer go to the directory named by PELLORY_HELP_SHOTS.
#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "gui_helpers.h"
#include "pellory/programs/startup.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tform2.h"
#include "scratch_dir.h"
#include "shell_test_support.h"
#include "test_catalogue.h"

namespace {

using pellory::ui::TForm2;

constexpr int kViewerTimeoutMs = 30000;
// Time for the viewer to lay out and paint its page before a picture.
constexpr int kSettleMs = 2500;
constexpr const char* kPages = "qthelp://pellory.fonts/help/pages/";

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The viewer's top-level X window, or 0.
WId ViewerWindow() {
  const QString found =
      Output(QStringLiteral("xdotool"), {"search", "--name", "^Pellory Fonts Help$"});
  return found.section(QLatin1Char('\n'), 0, 0).toULongLong();
}

qint64 WindowProcess(WId window) {
  return Output(QStringLiteral("xdotool"), {"getwindowpid", QString::number(window)}).toLongLong();
}

bool Alive(qint64 pid) {
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

// Waits for the viewer's window, lets it paint, and saves a picture of it.
WId AwaitViewer(const QDir& shots, const QString& name) {
  WId window = 0;
  guitest::pumpUntil([&] { return (window = ViewerWindow()) != 0; }, kViewerTimeoutMs);
  if (window == 0) return 0;
  QTest::qWait(kSettleMs);
  const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
  EXPECT_TRUE(picture.save(shots.filePath(name))) << name.toStdString();
  return window;
}

// Closes the viewer as its user would, with Ctrl+Q typed into it (keys sent
// to a window without giving it the focus can reach the next viewer that
// gets the same window id), which makes it write down the page it showed;
// answers that page.
QString CloseViewer(WId window, const QString& dataHome) {
  const qint64 pid = WindowProcess(window);
  Output(QStringLiteral("xdotool"),
         {"windowfocus", "--sync", QString::number(window), "key", "--clearmodifiers", "ctrl+q"});
  EXPECT_TRUE(guitest::pumpUntil([&] { return !Alive(pid); }, kViewerTimeoutMs));
  QString page;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "viewer-settings");
    // The viewer's own copy of the collection, kept in its cache directory.
    db.setDatabaseName(dataHome + QStringLiteral("/pellory/help/fontl.qhc"));
    if (db.open()) {
      QSqlQuery query(db);
      query.exec(QStringLiteral("SELECT Value FROM SettingsTable WHERE Key = 'LastShownPages'"));
      if (query.next()) page = query.value(0).toString();
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("viewer-settings"));
  return page;
}

// Keys go to the main window only while it is the active one; the viewer
// takes the activation whenever it comes up.
void Activate(TForm2* form) {
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([form] { return form->isActiveWindow(); }));
  form->DBEdit1()->setFocus(Qt::TabFocusReason);
}

// The user's steps, with the program running; `shown` gets the page the
// viewer showed each time it was closed, `lastViewer` the process left open.
void Drive(TForm2* form, const QDir& shots, const QString& dataHome, QStringList& shown,
           qint64& lastViewer) {
  // F1 in the main window: the contents.
  Activate(form);
  guitest::key(form->DBEdit1(), Qt::Key_F1);
  const WId contents = AwaitViewer(shots, QStringLiteral("help-contents.png"));
  ASSERT_NE(contents, 0u) << "no viewer window after F1";
  const qint64 first = WindowProcess(contents);
  shown << CloseViewer(contents, dataHome);

  // Views with "&Grid" highlighted, F1: its topic, in a viewer started again.
  Activate(form);
  guitest::key(form->DBEdit1(), Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(guitest::pumpUntil([] { return QApplication::activePopupWidget() != nullptr; }));
  guitest::key(QApplication::activePopupWidget(), Qt::Key_Down);
  guitest::key(QApplication::activePopupWidget(), Qt::Key_F1);
  const WId topic = AwaitViewer(shots, QStringLiteral("help-topic-grid.png"));
  ASSERT_NE(topic, 0u) << "no viewer window after F1 on Views, Grid";
  EXPECT_NE(WindowProcess(topic), first);
  shown << CloseViewer(topic, dataHome);

  // Open once more and leave it open: the end of the program ends it.
  Activate(form);
  guitest::key(form->DBEdit1(), Qt::Key_F1);
  const WId last = AwaitViewer(shots, QStringLiteral("help-contents-again.png"));
  ASSERT_NE(last, 0u) << "no viewer window after the third F1";
  lastViewer = WindowProcess(last);
  EXPECT_TRUE(Alive(lastViewer));
}

TEST(HelpViewerEndToEnd, ContentsThenATopicThenTheViewerEndsWithTheProgram) {
  if (QGuiApplication::platformName() != QLatin1String("xcb"))
    GTEST_SKIP() << "needs an X display: run under xvfb-run with QT_QPA_PLATFORM=xcb";
  if (!QFileInfo(QLibraryInfo::path(QLibraryInfo::BinariesPath) + "/assistant").isExecutable())
    GTEST_SKIP() << "Qt Assistant is not installed (assistant-qt6)";
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
    GTEST_SKIP() << "xdotool is not installed";

  // The viewer keeps its copy of the collection and its settings here.
  const pellory::testkit::ScratchDir home("help-e2e");
  const auto place = [&](const char* name) {
    return QString::fromStdString((home.path() / name).string());
  };
  const QString dataHome = place("data");
  qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(place("config")));
  qputenv("XDG_CACHE_HOME", QFile::encodeName(place("cache")));
  QDir shots(qEnvironmentVariableIsSet("PELLORY_HELP_SHOTS")
                 ? qEnvironmentVariable("PELLORY_HELP_SHOTS")
                 : place("shots"));
  ASSERT_TRUE(shots.mkpath(QStringLiteral(".")));

  const cataloguetest::TestCatalogue catalogue(cataloguetest::Numbered(2));
  auto boxes = std::make_shared<std::vector<pellory::shell::ErrorBox>>();
  QStringList shown;
  qint64 lastViewer = 0;
  QTimer::singleShot(0, [&] {
    TForm2* form = nullptr;
    guitest::pumpUntil([&] {
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* w = dynamic_cast<TForm2*>(top); w && w->isVisible()) form = w;
      return form != nullptr;
    });
    if (form) {
      Drive(form, shots, dataHome, shown, lastViewer);
      form->MenuItem(QStringLiteral("Exit1"))->Action()->trigger();
    } else {
      ADD_FAILURE() << "no main window";
      QCoreApplication::exit(1);
    }
  });
  EXPECT_EQ(pellory::app::RunProgram(std::make_unique<shelltest::RecordingPresenter>(boxes)), 0);

  const QStringList expected = {QLatin1String(kPages) + QStringLiteral("index.html"),
                                QLatin1String(kPages) + QStringLiteral("grid.html")};
  EXPECT_EQ(shown, expected);
  EXPECT_FALSE(Alive(lastViewer)) << "the viewer outlived the program";
  EXPECT_TRUE(boxes->empty()) << boxes->front().text.toStdString();
}

}  // namespace
