// The single-instance guard on a window read from its description: the
// first holder of the name goes on, any later one reports and ends.
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "gui_helpers.h"
#include "pellory/platform/named_mutex.h"
#include "pellory/shell/component_classes.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/tglrunonce.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using pellory::platform::NamedMutex;
using Outcome = NamedMutex::Outcome;

const QString kClass = QStringLiteral("TGuardedWindow");
const QString kMessage = QStringLiteral("Font search is already running.");

std::vector<QString>* eventLog = nullptr;

void Log(const QString& line) {
  if (eventLog) eventLog->push_back(line);
}

// Notes its loaded notification, to show that later components get theirs.
class LoadedProbe : public QObject, public DescribedComponent {
 public:
  explicit LoadedProbe(const CreationContext& c) : QObject(c.window) {}
  static const PropertyTable& Properties() {
    static const PropertyTable table(nullptr, {});
    return table;
  }
  const PropertyTable& StoredProperties() const override { return Properties(); }
  void NotifyLoaded() override { Log(QStringLiteral("loaded ") + Name()); }
  QObject* Object() override { return this; }
};

// Notes when the error display's presenter is asked.
class LoggingPresenter : public shelltest::RecordingPresenter {
 public:
  using RecordingPresenter::RecordingPresenter;
  void Present(const ErrorBox& box) override {
    Log(QStringLiteral("box ") + box.caption);
    RecordingPresenter::Present(box);
  }
};

class GuardedWindow : public shelltest::ProbeWindow {
 public:
  GuardedWindow() : ProbeWindow(kClass) {
    AddHandler(QStringLiteral("FormCreate"), [] { Log(QStringLiteral("FormCreate")); });
  }
  TGLRunOnce* GLRunOnce1() const { return Component<TGLRunOnce>(QStringLiteral("GLRunOnce1")); }
};

// Holds `name` the way a running copy does.
NamedMutex Hold(const QString& name) {
  NamedMutex mutex = NamedMutex::Create(name.toStdString());
  EXPECT_EQ(mutex.Result(), Outcome::Created) << name.toStdString() << ": " << mutex.Failure();
  mutex.ReleaseOwnership();
  return mutex;
}

bool HeldElsewhere(const QString& name) {
  return NamedMutex::Create(name.toStdString()).Result() == Outcome::AlreadyExisted;
}

class RunOnce : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    app->SetErrorPresenter(std::make_unique<LoggingPresenter>(boxes));
    eventLog = &log;
    ComponentClasses::Register<TGLRunOnce>("TGLRunOnce");
    ComponentClasses::Register<LoadedProbe>("LoadedProbe");
  }
  void TearDown() override {
    ShellTest::TearDown();
    eventLog = nullptr;
  }
  // A window holding GLRunOnce1 with `guard` as its stored properties, then
  // a component that notes its loaded notification.
  GuardedWindow* Open(std::vector<StoredProperty> guard) {
    WindowDescription d = shelltest::PlainWindow(kClass, 83, 82, 400, 300);
    d.properties.push_back({"OnCreate", HandlerRef{"FormCreate"}});
    d.components.push_back({"TGLRunOnce", "GLRunOnce1", std::move(guard), {}});
    d.components.push_back({"LoadedProbe", "After1", {}, {}});
    DescriptionRegistry::Register(d);
    return app->CreateForm<GuardedWindow>();
  }
  // A fresh application object, as for another run of the program.
  void Restart() {
    app.reset();
    guitest::pump();
    boxes->clear();
    log.clear();
    SetUp();
  }
  // Runs the main loop as the program does after construction; answers
  // whether it ended by a quit request posted before it began.
  bool MainLoopEndsAtOnce() {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool stopped = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
      stopped = true;
      app->Terminate();
    });
    watchdog.start(10'000);
    app->Run();
    return app->Terminated() && !stopped;
  }

  std::vector<QString> log;
};

TEST_F(RunOnce, DefaultsComeFromTheTitleAtConstruction) {
  TGLRunOnce guard(CreationContext{});
  EXPECT_EQ(guard.AppName(), QStringLiteral("Pellory Fonts"));
  EXPECT_EQ(guard.ErrorMessage(), QStringLiteral("This application is already running!"));
  EXPECT_TRUE(guard.ShowErrorMessage());
  app->SetTitle(QStringLiteral("Another title"));
  EXPECT_EQ(guard.AppName(), QStringLiteral("Pellory Fonts"));
}

TEST_F(RunOnce, FirstHolderGoesOnAndHoldsTheNameUntilItsWindowIsGone) {
  QPointer<GuardedWindow> w = Open({{"AppName", QStringLiteral("Tessal 4")}});
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(log, (std::vector<QString>{"loaded After1", "FormCreate"}));
  guitest::pump();
  EXPECT_FALSE(app->Terminated());
  EXPECT_EQ(w->OuterSize(), QSize(400, 300));
  EXPECT_TRUE(HeldElsewhere(QStringLiteral("Tessal 4")));
  EXPECT_FALSE(HeldElsewhere(QStringLiteral("Pellory Fonts"))) << "the stored name counts";
  delete w.data();
  EXPECT_FALSE(HeldElsewhere(QStringLiteral("Tessal 4")));
}

TEST_F(RunOnce, LaterHolderReportsPutsItsWindowAwayAndEndsTheProgram) {
  for (const bool showMessage : {true, false}) {
    SCOPED_TRACE(showMessage ? "with its message" : "without a message");
    NamedMutex running = Hold(QStringLiteral("Tessal 4"));
    std::vector<StoredProperty> guard = {{"AppName", QStringLiteral("Tessal 4")},
                                         {"ErrorMessage", kMessage}};
    if (!showMessage) guard.push_back({"ShowErrorMessage", false});
    GuardedWindow* w = Open(guard);
    if (showMessage) {
      ASSERT_EQ(boxes->size(), 1u);
      EXPECT_EQ(boxes->front().caption, QStringLiteral("Error"));
      EXPECT_EQ(boxes->front().text, kMessage);
      EXPECT_EQ(boxes->front().icon, ErrorBox::Icon::Error);
      EXPECT_EQ(boxes->front().form, ErrorBox::Form::MessageDialog);
      EXPECT_EQ(log, (std::vector<QString>{"box Error", "loaded After1", "FormCreate"}));
    } else {
      EXPECT_TRUE(boxes->empty());
      EXPECT_EQ(log, (std::vector<QString>{"loaded After1", "FormCreate"}));
    }
    // No size, just beyond the bottom right corner of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w->OuterSize(), QSize(0, 0));
    EXPECT_EQ(w->pos(), QPoint(screen.width() + 1, screen.height() + 1));
    // The reporting copy holds the name too while it ends.
    running = NamedMutex();
    EXPECT_TRUE(HeldElsewhere(QStringLiteral("Tessal 4")));
    EXPECT_TRUE(MainLoopEndsAtOnce());
    // Centring on the first show puts the corner of a window without size
    // at the middle of the screen
    EXPECT_TRUE(w->isVisible());
    EXPECT_LT(w->width(), 400) << "not its stored size";
    // (the platform keeps a top-level window a few pixels large).
    const QPoint offMiddle = w->frameGeometry().topLeft() - screen.center();
    EXPECT_LE(offMiddle.manhattanLength(), 8) << offMiddle.x() << "," << offMiddle.y();
    Restart();
  }
}

TEST_F(RunOnce, AnEmptyNameFallsBackToTheTitleThenToTheProgramFile) {
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  struct Case {
    QString title;
    QString expected;
  };
  const Case cases[] = {{QStringLiteral("Pellory Fonts"), QStringLiteral("Pellory Fonts")},
                        {QString(), program}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.toStdString());
    app->SetTitle(c.title);
    NamedMutex running = Hold(c.expected);
    GuardedWindow* w = Open({{"AppName", QString()}});
    EXPECT_EQ(w->GLRunOnce1()->AppName(), c.expected);
    EXPECT_EQ(boxes->size(), 1u) << "the fallback name is the one claimed";
    EXPECT_TRUE(MainLoopEndsAtOnce());
    Restart();
  }
}

TEST_F(RunOnce, ANameThatCannotBeLockedCountsAsRunning) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", "/nonexistent/pellory-runtime");
  // Told by the dialog alone: nothing is logged.
  testing::internal::CaptureStderr();
  GuardedWindow* w = Open({{"AppName", QStringLiteral("Tessal 4")}, {"ErrorMessage", kMessage}});
  std::fflush(stderr);
  const std::string logged = testing::internal::GetCapturedStderr();
  qputenv("XDG_RUNTIME_DIR", saved);
  EXPECT_EQ(logged, "");
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().text, kMessage);
  EXPECT_EQ(w->OuterSize(), QSize(0, 0));
  EXPECT_TRUE(MainLoopEndsAtOnce());
}

}  // namespace
