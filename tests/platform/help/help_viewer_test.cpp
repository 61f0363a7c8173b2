// The help engine's viewer, driven as the program drives it, with a stand-in
// viewer process that logs what it is started with and what it is sent. The
// help collection is the one the build puts beside the test programs.
#include "pellory/platform/help_viewer.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "gui_helpers.h"
#include "scratch_dir.h"

namespace {

using pellory::platform::HelpViewer;
using pellory::platform::kHelpContents;
using pellory::platform::kHelpContext;
using pellory::platform::kHelpQuit;

constexpr const char* kPages = "qthelp://pellory.fonts/help/pages/";

QString BinDir() {
  return QCoreApplication::applicationDirPath();
}

QString FakeViewer() {
  return BinDir() + QStringLiteral("/fake_help_viewer");
}

QString Page(const char* name) {
  return QLatin1String(kPages) + QLatin1String(name);
}

bool ProcessAlive(qint64 pid) {
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

class HelpViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFileInfo::exists(BinDir() + QStringLiteral("/fontl.qhc")))
      GTEST_SKIP() << "no help collection beside the test program";
    qputenv("PELLORY_FAKE_VIEWER_LOG", logPath.toLocal8Bit());
  }
  void TearDown() override { qunsetenv("PELLORY_FAKE_VIEWER_LOG"); }

  // A viewer that starts the stand-in and finds the collection in `dirs`.
  std::unique_ptr<HelpViewer> MakeViewer(QStringList dirs = {BinDir()},
                                         QStringList programs = {FakeViewer()}) {
    auto viewer = std::make_unique<HelpViewer>(HelpViewer::Places{programs, dirs});
    viewer->SetNotice([this](WId, const QString& text) { notices << text; });
    return viewer;
  }

  QStringList LogLines() const {
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  // Waits until the log has `count` lines; answers them.
  QStringList WaitForLog(qsizetype count) const {
    guitest::pumpUntil([&] { return LogLines().size() >= count; }, 5000);
    return LogLines();
  }

  pellory::testkit::ScratchDir scratch{"help-viewer"};
  QString logPath = QString::fromStdString((scratch.path() / "viewer.log").string());
  QStringList notices;
};

TEST_F(HelpViewerTest, ContentsStartsOneViewerOnTheCollectionBesideTheProgram) {
  auto viewer = MakeViewer();
  ASSERT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContents, 0));
  const QStringList expected = {
      QStringLiteral("start -collectionFile %1/fontl.qhc -enableRemoteControl")
          .arg(QFileInfo(BinDir()).absoluteFilePath()),
      QStringLiteral("command setSource %1;show contents").arg(Page("index.html")),
  };
  EXPECT_EQ(WaitForLog(expected.size()), expected);
  EXPECT_TRUE(ProcessAlive(viewer->ViewerProcessId()));
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(HelpViewerTest, ContextShowsTheTopicOfTheIdOrThePageSayingThereIsNone) {
  const struct {
    qintptr id;
    const char* page;
  } cases[] = {
      {1000, "category-buttons.html"},
      {1100, "all-fonts-button.html"},
      {1200, "record-navigator.html"},
      {1400, "installed-fonts.html"},
      {1500, "grid.html"},
      {1600, "font-type.html"},
      {1700, "picture-grid.html"},
      {1800, "return-to-main.html"},
      {0, "no-help.html"},
      {1300, "no-help.html"},
      {-1, "no-help.html"},
  };
  auto viewer = MakeViewer();
  QStringList expected;
  for (const auto& c : cases) {
    ASSERT_TRUE(
        viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContext, static_cast<quintptr>(c.id)));
    // The contents are synchronised with the page once the viewer runs.
    expected << QStringLiteral("command setSource %1").arg(Page(c.page)) +
                    (expected.isEmpty() ? QString() : QStringLiteral(";syncContents"));
  }
  QStringList lines = WaitForLog(expected.size() + 1);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(lines.takeFirst().startsWith(QStringLiteral("start "))) << "one viewer for all";
  EXPECT_EQ(lines, expected);
}

TEST_F(HelpViewerTest, QuitEndsTheViewerAndAViewerTheUserClosedIsStartedAgain) {
  auto viewer = MakeViewer();
  // Quit before anything was shown: nothing to end, nothing to tell.
  EXPECT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpQuit, 0));
  EXPECT_EQ(viewer->ViewerProcessId(), 0);

  ASSERT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContents, 0));
  const qint64 first = viewer->ViewerProcessId();
  ASSERT_TRUE(ProcessAlive(first));
  WaitForLog(2);
  // The user closes the viewer; the next request starts a new one.
  ::kill(static_cast<pid_t>(first), SIGKILL);
  ASSERT_TRUE(guitest::pumpUntil([&] { return viewer->ViewerProcessId() == 0; }, 5000));
  ASSERT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContext, 1200));
  const qint64 second = viewer->ViewerProcessId();
  EXPECT_NE(second, first);
  EXPECT_TRUE(ProcessAlive(second));
  QStringList lines = WaitForLog(4);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("start ")));
  EXPECT_EQ(lines[3], QStringLiteral("command setSource %1").arg(Page("record-navigator.html")));

  EXPECT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpQuit, 0));
  EXPECT_EQ(viewer->ViewerProcessId(), 0);
  EXPECT_TRUE(guitest::pumpUntil([&] { return !ProcessAlive(second); }, 5000));
  lines = WaitForLog(5);
  EXPECT_TRUE(lines.back() == QLatin1String("end") || lines.back() == QLatin1String("terminated"))
      << lines.back().toStdString();
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(HelpViewerTest, EndingTheHelpEngineEndsItsViewer) {
  auto viewer = MakeViewer();
  ASSERT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContents, 0));
  const qint64 pid = viewer->ViewerProcessId();
  ASSERT_TRUE(ProcessAlive(pid));
  viewer.reset();
  EXPECT_TRUE(guitest::pumpUntil([&] { return !ProcessAlive(pid); }, 5000));
}

TEST_F(HelpViewerTest, MissingViewerIsToldOnceAndHowToInstallIt) {
  auto viewer = MakeViewer({BinDir()}, {scratch.path().c_str() + QStringLiteral("/no-viewer")});
  for (int command : {kHelpContents, kHelpContext, kHelpContents})
    EXPECT_FALSE(viewer->Request(0, QStringLiteral("fontl.hlp"), command, 1000));
  ASSERT_EQ(notices.size(), 1);
  EXPECT_TRUE(notices.front().contains(QStringLiteral("not installed")));
  EXPECT_TRUE(notices.front().contains(QStringLiteral("apt-get install assistant-qt6")));
  EXPECT_EQ(viewer->ViewerProcessId(), 0);
  // Ending it asks nothing of a viewer that never ran.
  EXPECT_TRUE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpQuit, 0));
  EXPECT_EQ(notices.size(), 1);
}

// Copies the built collection into `dir`.
void CopyCollection(const QString& dir) {
  for (const char* name : {"fontl.qhc", "fontl.qch"})
    ASSERT_TRUE(QFile::copy(BinDir() + QLatin1Char('/') + QLatin1String(name),
                            dir + QLatin1Char('/') + QLatin1String(name)));
}

TEST_F(HelpViewerTest, CollectionIsLookedForInEachPlaceInTurn) {
  const QString empty = QString::fromStdString((scratch.path() / "empty").string());
  const QString installed = QString::fromStdString((scratch.path() / "installed").string());
  ASSERT_TRUE(QDir().mkpath(empty));
  ASSERT_TRUE(QDir().mkpath(installed));
  CopyCollection(installed);
  const struct {
    const char* what;
    QStringList dirs;
    QString fileName;
    QString expected;
  } cases[] = {
      {"beside the program first", {BinDir(), installed}, "fontl.hlp", BinDir()},
      {"then the data directory", {empty, installed}, "fontl.hlp", installed},
      {"a help file with a directory there first", {BinDir()}, installed + "/fontl.hlp", installed},
  };
  for (const auto& c : cases) {
    QFile::remove(logPath);
    auto viewer = MakeViewer(c.dirs);
    ASSERT_TRUE(viewer->Request(0, c.fileName, kHelpContents, 0)) << c.what;
    const QStringList lines = WaitForLog(1);
    ASSERT_FALSE(lines.isEmpty()) << c.what;
    EXPECT_EQ(lines.front(),
              QStringLiteral("start -collectionFile %1/fontl.qhc -enableRemoteControl")
                  .arg(QFileInfo(c.expected).absoluteFilePath()))
        << c.what;
  }
  EXPECT_TRUE(notices.isEmpty());
}

// An installed program finds the collection of its own installation,
// whatever prefix it was installed to, not that of the configured prefix.
TEST(HelpViewerPlaces, TheInstallationsHelpDirectoryIsFoundFromTheProgramsOwn) {
  const struct {
    QString programDir;
    QString expected;
  } cases[] = {
      {"/usr/bin", "/usr/share/pellory/help"},
      {"/home/me/.local/bin", "/home/me/.local/share/pellory/help"},
      {"/tmp/stage/opt/pf/bin/", "/tmp/stage/opt/pf/share/pellory/help"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HelpViewer::InstalledHelpDir(c.programDir), c.expected) << c.programDir.toStdString();
  const QStringList dirs = HelpViewer::DefaultPlaces().collectionDirs;
  EXPECT_EQ(dirs, QStringList({BinDir(), HelpViewer::InstalledHelpDir(BinDir())}));
}

TEST_F(HelpViewerTest, MissingOrUnreadableCollectionIsToldOnceAndStartsNoViewer) {
  const QString garbage = QString::fromStdString((scratch.path() / "garbage").string());
  ASSERT_TRUE(QDir().mkpath(garbage));
  QFile bad(garbage + QStringLiteral("/fontl.qhc"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("this is no help collection");
  bad.close();
  const struct {
    const char* what;
    QStringList dirs;
    const char* told;
  } cases[] = {
      {"missing", {QString::fromStdString(scratch.path().string())}, "fontl.qhc for fontl.hlp"},
      {"unreadable", {garbage}, "cannot be read"},
  };
  for (const auto& c : cases) {
    notices.clear();
    auto viewer = MakeViewer(c.dirs);
    EXPECT_FALSE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContents, 0)) << c.what;
    EXPECT_FALSE(viewer->Request(0, QStringLiteral("fontl.hlp"), kHelpContext, 1000)) << c.what;
    ASSERT_EQ(notices.size(), 1) << c.what;
    EXPECT_TRUE(notices.front().contains(QLatin1String(c.told))) << notices.front().toStdString();
    EXPECT_EQ(viewer->ViewerProcessId(), 0) << c.what;
  }
  EXPECT_FALSE(QFileInfo::exists(logPath)) << "no viewer was started";
}

TEST_F(HelpViewerTest, UnknownCommandDoesNothing) {
  auto viewer = MakeViewer();
  EXPECT_FALSE(viewer->Request(0, QStringLiteral("fontl.hlp"), 4, 0));
  EXPECT_EQ(viewer->ViewerProcessId(), 0);
  EXPECT_TRUE(notices.isEmpty());
}

}  // namespace
