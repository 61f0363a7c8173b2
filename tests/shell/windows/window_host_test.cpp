// A stored window asks the program only through its host: run here
// against a host that is not the application object, and against none.
#include "pellory/shell/window_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <string>
#include <vector>

#include "gui_helpers.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/shell_error.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using shelltest::ProbeWindow;

class RecordingHost : public WindowHost {
 public:
  RecordingHost() { SetCurrent(this); }
  ~RecordingHost() override { SetCurrent(nullptr); }

  void Guard(const std::function<void()>& handler) override {
    try {
      handler();
    } catch (const std::exception& e) {
      errors.emplace_back(e.what());
    }
  }
  StoredWindow* MainForm() const override { return mainForm; }
  bool Terminated() const override { return terminated; }
  void Terminate() override { terminated = true; }
  void PostRelease(StoredWindow* window) override { released.push_back(window); }
  void EnterLoop(QEventLoop* loop) override { loops.push_back(loop); }
  void LeaveLoop(QEventLoop* loop) override { std::erase(loops, loop); }
  void ContextHelp(int id) override { topics.push_back(id); }

  StoredWindow* mainForm = nullptr;
  bool terminated = false;
  std::vector<std::string> errors;
  std::vector<StoredWindow*> released;
  std::vector<QEventLoop*> loops;
  std::vector<int> topics;
};

class WindowHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowDescription d = shelltest::PlainWindow(QStringLiteral("THostProbe"));
    d.properties.push_back({"HelpContext", 4100});
    DescriptionRegistry::Register(std::move(d));
  }
  void TearDown() override { guitest::pump(); }
  std::unique_ptr<ProbeWindow> Make() {
    auto w = std::make_unique<ProbeWindow>(QStringLiteral("THostProbe"));
    w->Construct();
    return w;
  }
};

TEST_F(WindowHostTest, TheHostGuardsHandlersReleasesWindowsAndEndsTheProgram) {
  RecordingHost host;
  auto w = std::make_unique<ProbeWindow>(QStringLiteral("THostProbe"));
  w->OnCreate = [] { throw ShellError(QStringLiteral("Creation failed")); };
  w->Construct();
  EXPECT_EQ(host.errors, std::vector<std::string>{"Creation failed"});

  w->OnClose = [](StoredWindow::CloseAction& action) { action = StoredWindow::CloseAction::Free; };
  w->Close();
  EXPECT_EQ(host.released, std::vector<StoredWindow*>{w.get()});
  EXPECT_FALSE(host.terminated);

  host.mainForm = w.get();  // Closing the main window ends the program instead.
  w->Close();
  EXPECT_TRUE(host.terminated);
  EXPECT_EQ(host.released.size(), 1u);
}

TEST_F(WindowHostTest, AModalRunEndsOnceTheHostIsTerminated) {
  RecordingHost host;
  auto w = Make();
  std::size_t loopsDuringRun = 0;
  QTimer::singleShot(0, w.get(), [&] {
    loopsDuringRun = host.loops.size();
    host.terminated = true;
    for (QEventLoop* loop : host.loops) loop->quit();
  });
  EXPECT_EQ(w->ShowModal(), 2);
  EXPECT_EQ(loopsDuringRun, 1u);
  EXPECT_TRUE(host.loops.empty());
}

TEST_F(WindowHostTest, F1AsksTheHostForTheWindowsTopic) {
  RecordingHost host;
  auto w = Make();
  w->show();
  guitest::key(w.get(), Qt::Key_F1);
  EXPECT_EQ(host.topics, std::vector<int>{4100});
}

TEST_F(WindowHostTest, WithoutAHostAWindowRunsOnItsOwn) {
  ASSERT_EQ(WindowHost::Current(), nullptr);
  auto w = Make();
  w->Close();  // Hidden, as a window that is not the main one.
  EXPECT_FALSE(w->isVisible());
  bool ran = false;
  RunGuarded([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_THROW(RunGuarded([] { throw ShellError(QStringLiteral("unguarded")); }), ShellError);
  QPointer<ProbeWindow> released = w.release();
  released->Release();  // Deleted later by the event loop.
  EXPECT_TRUE(guitest::pumpUntil([&] { return released.isNull(); }));
}

}  // namespace
