// Modal runs, close and release, and the quit request.
#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QTimer>

#include "gui_helpers.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/shell_error.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using shelltest::ProbeWindow;

class ModalRun : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    DescriptionRegistry::Register(shelltest::PlainWindow(QStringLiteral("TModalProbe")));
    DescriptionRegistry::Register(shelltest::PlainWindow(QStringLiteral("TProbeWindow")));
  }
  ProbeWindow* Make(const char* cls) {
    auto* w = new ProbeWindow(QLatin1String(cls));
    w->Construct();
    return w;
  }
  // Runs `w` modally; `during` runs from inside its loop.
  int RunModal(ProbeWindow* w, std::function<void()> during) {
    QTimer::singleShot(0, w, [during = std::move(during)] { RunGuarded(during); });
    return w->ShowModal();
  }
};

TEST_F(ModalRun, ResultOfEachWayOfEnding) {
  struct Case {
    const char* how;
    std::function<void(ProbeWindow*)> end;
    int result;
  };
  const Case cases[] = {
      {"close box", [](ProbeWindow* w) { w->close(); }, 2},
      {"close command", [](ProbeWindow* w) { w->Close(); }, 2},
      {"ModalResult 1", [](ProbeWindow* w) { w->SetModalResult(1); }, 1},
      {"ModalResult 2", [](ProbeWindow* w) { w->SetModalResult(2); }, 2},
  };
  for (const Case& c : cases) {
    std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
    bool wasModal = false;
    EXPECT_EQ(RunModal(w.get(),
                       [&] {
                         wasModal = w->Modal();
                         c.end(w.get());
                       }),
              c.result)
        << c.how;
    EXPECT_TRUE(wasModal) << c.how;
    EXPECT_FALSE(w->Modal()) << c.how;
    EXPECT_FALSE(w->isVisible()) << c.how;
  }
  EXPECT_TRUE(boxes->empty());
}

TEST_F(ModalRun, RefusedForVisibleOrDisabledWindow) {
  for (const bool visible : {true, false}) {
    std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
    if (visible)
      w->show();
    else
      w->setEnabled(false);
    try {
      w->ShowModal();
      FAIL() << "modal run was not refused";
    } catch (const WindowStateError& e) {
      EXPECT_STREQ(e.what(), "Cannot make a visible window modal");
    }
    EXPECT_FALSE(w->Modal());
  }
}

TEST_F(ModalRun, OtherWindowsDisabledDuringTheRunAndEnabledAfter) {
  ProbeWindow* main = app->CreateForm<ProbeWindow>();
  main->show();
  std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
  bool mainEnabledDuring = true;
  bool selfEnabledDuring = false;
  RunModal(w.get(), [&] {
    mainEnabledDuring = main->isEnabled();
    selfEnabledDuring = w->isEnabled();
    w->Close();
  });
  EXPECT_FALSE(mainEnabledDuring);
  EXPECT_TRUE(selfEnabledDuring);
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(ModalRun, ScreenCursorArrowDuringTheRunAndPutBackAfter) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
  Qt::CursorShape during = Qt::BlankCursor;
  RunModal(w.get(), [&] {
    during = QGuiApplication::overrideCursor()->shape();
    w->Close();
  });
  EXPECT_EQ(during, Qt::ArrowCursor);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QGuiApplication::restoreOverrideCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // Changed during the run: the default arrow afterwards.
  std::unique_ptr<ProbeWindow> v(Make("TModalProbe"));
  RunModal(v.get(), [&] {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    v->Close();
  });
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ModalRun, ActiveWindowPutBackAfterTheRun) {
  ProbeWindow* main = app->CreateForm<ProbeWindow>();
  main->show();
  main->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == main; }));
  std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
  bool modalWasActive = false;
  RunModal(w.get(), [&] {
    modalWasActive = guitest::pumpUntil([&] { return QApplication::activeWindow() == w.get(); });
    w->Close();
  });
  EXPECT_TRUE(modalWasActive);
  EXPECT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == main; }));
}

TEST_F(ModalRun, CloseQueryCanKeepTheWindowOpen) {
  std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
  int asked = 0;
  w->OnCloseQuery = [&](bool& canClose) { canClose = ++asked > 1; };
  const int result = RunModal(w.get(), [&] {
    w->Close();  // Refused: the run goes on with ModalResult 0 again.
    QTimer::singleShot(0, w.get(), [&] {
      EXPECT_EQ(w->ModalResult(), 0);
      w->SetModalResult(1);
    });
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(asked, 2);
}

TEST_F(ModalRun, QuitRequestEndsTheModalRunWithCancelAndTheMainLoop) {
  ProbeWindow* main = app->CreateForm<ProbeWindow>();
  int result = -1;
  QPointer<ProbeWindow> secondary;
  QTimer::singleShot(0, main, [&] {
    RunGuarded([&] {
      secondary = app->CreateForm<ProbeWindow>();
      QTimer::singleShot(0, secondary, [&] { app->Terminate(); });
      result = secondary->ShowModal();
      secondary->Release();
    });
  });
  app->Run();
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ModalRun, QuitFromOutsideEndsTheModalRunAndTheMainLoop) {
  ProbeWindow* main = app->CreateForm<ProbeWindow>();
  int result = -1;
  QTimer::singleShot(0, main, [&] {
    RunGuarded([&] {
      std::unique_ptr<ProbeWindow> w(Make("TModalProbe"));
      QTimer::singleShot(0, w.get(), [] { QCoreApplication::quit(); });
      result = w->ShowModal();
    });
  });
  app->Run();
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ModalRun, DismissingTheLastVisibleWindowDoesNotEndTheProgram) {
  QWidget only;
  only.show();
  only.close();
  guitest::pump();
  EXPECT_FALSE(app->Terminated());
}

TEST_F(ModalRun, ReleasedWindowLivesUntilTheLoopTakesTheRelease) {
  QPointer<ProbeWindow> w = app->CreateForm<ProbeWindow>();
  QPointer<ProbeWindow> second = app->CreateForm<ProbeWindow>();  // Not the main window.
  bool aliveAfterRelease = false;
  second->AddHandler(QStringLiteral("ReleaseSelf"), [&] {
    second->Release();
    aliveAfterRelease = !second.isNull();
  });
  second->FindHandler(QStringLiteral("ReleaseSelf"))();
  EXPECT_TRUE(aliveAfterRelease);
  EXPECT_FALSE(second.isNull());  // The handler has returned; the loop has not run.
  EXPECT_TRUE(guitest::pumpUntil([&] { return second.isNull(); }));
  EXPECT_EQ(app->OwnedWindows().size(), 1u);
  EXPECT_FALSE(w.isNull());
}

TEST_F(ModalRun, ClosingTheMainWindowEndsTheMainLoop) {
  for (const bool closeBox : {false, true}) {
    SetUp();  // A fresh application object for each way of closing.
    QPointer<ProbeWindow> main = app->CreateForm<ProbeWindow>();
    QTimer::singleShot(0, main, [&] { closeBox ? void(main->close()) : main->Close(); });
    app->Run();
    EXPECT_TRUE(app->Terminated()) << closeBox;
    EXPECT_TRUE(main->isVisible()) << "the main window is not hidden before shutdown";
    app->Shutdown();
    EXPECT_TRUE(main.isNull()) << "shutdown destroys the owned windows";
  }
}

}  // namespace
