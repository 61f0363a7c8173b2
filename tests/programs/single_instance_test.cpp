// Only one copy of the program runs: real copies of the program on an X
// display of the test's own, their dialogs answered with keys as a user
// would answer them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "pellory/platform/mutex_location.h"
#include "pellory/shell/message_dialog.h"
#include "program_copies.h"
#include "test_catalogue.h"
#include "x_session.h"

namespace {

using xtest::ProgramCopy;
using xtest::XSession;

const std::string kMainWindow = "^Font search$";
const std::string kErrorDialog = "^Error$";
constexpr int kPatienceMs = 60'000;

bool WaitFor(const std::function<bool()>& done, int timeoutMs = kPatienceMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

class SingleInstance : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { x = new XSession; }
  static void TearDownTestSuite() {
    delete x;
    x = nullptr;
  }
  void SetUp() override {
    if (!x->Available()) GTEST_SKIP() << "needs an X display of its own: " << x->Problem();
  }

  // The window of `copy` named like `name`, once it shows one; empty when
  // the copy ends or shows a window of the other kind first.
  std::string WaitForWindow(ProgramCopy& copy, const std::string& name) {
    const std::string other = name == kMainWindow ? kErrorDialog : kMainWindow;
    std::string found;
    WaitFor([&] {
      if (auto w = x->WindowOf(copy.Pid(), name)) found = *w;
      return !found.empty() || copy.Ended() || x->WindowOf(copy.Pid(), other);
    });
    return found;
  }

  // File, Exit on the copy's main window; answers its exit code.
  std::optional<int> EndNormally(ProgramCopy& copy, const std::string& mainWindow) {
    EXPECT_TRUE(x->Press(mainWindow, "alt+f x"));
    return copy.WaitForExit(kPatienceMs);
  }

  static XSession* x;
  cataloguetest::TestCatalogue catalogue{cataloguetest::Numbered(3)};
};

XSession* SingleInstance::x = nullptr;

TEST_F(SingleInstance, ASecondCopyShowsItsDialogAndEndsWithZeroWhileTheFirstRunsOn) {
  ProgramCopy first(x->Display());
  const std::string firstWindow = WaitForWindow(first, kMainWindow);
  ASSERT_FALSE(firstWindow.empty()) << "the first copy opens its main window";
  const auto layout = pellory::shell::LayOutMessageDialog(
      pellory::shell::MessageDialogFont(), QStringLiteral("Font search is already running."),
      {QStringLiteral("OK")}, XSession::kScreenWidth);
  for (const char* answer : {"Return", "Escape"}) {
    SCOPED_TRACE(answer);
    ProgramCopy second(x->Display());
    const std::string dialog = WaitForWindow(second, kErrorDialog);
    ASSERT_FALSE(dialog.empty()) << "the second copy shows its dialog";
    const auto g = x->Geometry(dialog);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->width, layout.client.width()) << "the dialog holds the message";
    EXPECT_EQ(g->height, layout.client.height());
    EXPECT_LE(std::abs(g->x - (XSession::kScreenWidth - g->width) / 2), 1) << "centred";
    EXPECT_LE(std::abs(g->y - (XSession::kScreenHeight - g->height) / 2), 1) << "centred";
    EXPECT_FALSE(second.Ended()) << "it waits for the answer";
    EXPECT_TRUE(x->Press(dialog, answer));
    EXPECT_EQ(second.WaitForExit(kPatienceMs), 0);
    EXPECT_FALSE(first.Ended());
    EXPECT_EQ(x->WindowOf(first.Pid(), kMainWindow), firstWindow);
  }
  EXPECT_EQ(EndNormally(first, firstWindow), 0);
}

// -display names the display as DISPLAY does: with DISPLAY unset the copy
// shows its window there, and a second copy, named the display the same
// way, finds the first.
TEST_F(SingleInstance, ACopyToldItsDisplayByTheOptionAloneShowsItsWindowThere) {
  ProgramCopy first(x->Display(), xtest::DisplayNamedBy::Option);
  const std::string window = WaitForWindow(first, kMainWindow);
  ASSERT_FALSE(window.empty()) << "the copy opens its main window on " << x->Display();
  ProgramCopy second(x->Display(), xtest::DisplayNamedBy::Option);
  const std::string dialog = WaitForWindow(second, kErrorDialog);
  ASSERT_FALSE(dialog.empty()) << "the second copy shows its dialog on the same display";
  EXPECT_TRUE(x->Press(dialog, "Return"));
  EXPECT_EQ(second.WaitForExit(kPatienceMs), 0);
  EXPECT_EQ(EndNormally(first, window), 0);
}

TEST_F(SingleInstance, OfFiftyCopiesStartedAtOnceExactlyOneRunsAndTheOthersEndWithZero) {
  constexpr int kCopies = 50;
  auto copies = ProgramCopy::StartAtOnce(kCopies, x->Display());
  // When each dialog was last answered. The answer goes to the dialog
  // itself: dialogs appearing all at once take the focus from one another.
  // One still shown a while after its answer is answered again.
  std::map<std::string, std::chrono::steady_clock::time_point> answered;
  const auto running = [&] {
    std::vector<ProgramCopy*> still;
    for (auto& copy : copies)
      if (!copy->Ended()) still.push_back(copy.get());
    return still;
  };
  // Every dialog is answered as it appears, until only copies without one
  // are left.
  WaitFor(
      [&] {
        const auto now = std::chrono::steady_clock::now();
        for (const std::string& dialog : x->Windows(kErrorDialog)) {
          const auto last = answered.find(dialog);
          if (last != answered.end() && now - last->second < std::chrono::seconds(2)) continue;
          answered[dialog] = now;
          x->SendKey(dialog, "Return");
        }
        const auto still = running();
        return still.size() <= 1 &&
               (still.empty() || x->WindowOf(still.front()->Pid(), kMainWindow));
      },
      4 * kPatienceMs);
  const auto still = running();
  ASSERT_EQ(still.size(), 1u) << "copies still running";
  int endedWithZero = 0;
  for (auto& copy : copies) endedWithZero += copy->ExitCode() == 0;
  EXPECT_EQ(endedWithZero, kCopies - 1);
  EXPECT_EQ(answered.size(), size_t(kCopies - 1)) << "one dialog from each of the others";
  const auto mainWindow = x->WindowOf(still.front()->Pid(), kMainWindow);
  ASSERT_TRUE(mainWindow);
  EXPECT_TRUE(x->Windows(kErrorDialog).empty());
  EXPECT_EQ(EndNormally(*still.front(), *mainWindow), 0);
}

TEST_F(SingleInstance, ANewCopyStartsNormallyOnceTheFirstHasEndedOrWasKilled) {
  for (const bool kill : {false, true}) {
    SCOPED_TRACE(kill ? "killed with SIGKILL" : "ended with File, Exit");
    ProgramCopy first(x->Display());
    const std::string window = WaitForWindow(first, kMainWindow);
    ASSERT_FALSE(window.empty());
    if (kill)
      first.Kill();
    else
      EXPECT_EQ(EndNormally(first, window), 0);
    ProgramCopy next(x->Display());
    const std::string nextWindow = WaitForWindow(next, kMainWindow);
    ASSERT_FALSE(nextWindow.empty()) << "opens its main window, not the dialog";
    EXPECT_EQ(EndNormally(next, nextWindow), 0);
  }
}

TEST_F(SingleInstance, ALockOfAnotherProgramOnTheNameMakesItRefuse) {
  // The test itself is the other program: a plain record lock on the file.
  const std::string path = pellory::platform::NamedMutexPath("Tessal 4").string();
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0) << path;
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  ASSERT_EQ(::fcntl(fd, F_SETLK, &lock), 0);
  ProgramCopy copy(x->Display());
  const std::string dialog = WaitForWindow(copy, kErrorDialog);
  ASSERT_FALSE(dialog.empty());
  EXPECT_TRUE(x->Press(dialog, "Return"));
  EXPECT_EQ(copy.WaitForExit(kPatienceMs), 0);
  ::close(fd);
}

}  // namespace
