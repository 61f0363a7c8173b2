// Secondary windows opened by class name: create, show modally, release.
#include "pellory/shell/window_factories.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "gui_helpers.h"
#include "pellory/shell/description_registry.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using shelltest::ProbeWindow;

class OpenByName : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    DescriptionRegistry::Register(shelltest::PlainWindow(QStringLiteral("TProbeWindow")));
    DescriptionRegistry::Register(shelltest::PlainWindow(QStringLiteral("TSecondProbe")));
    WindowFactories::Register(QStringLiteral("TSecondProbe"), [this] {
      auto window = std::make_unique<ProbeWindow>(QStringLiteral("TSecondProbe"));
      made.emplace_back(window.get());
      return window;
    });
    main = app->CreateForm<ProbeWindow>();
    main->show();
  }

  // The modal window of the class, if one is running.
  static ProbeWindow* ModalWindow() {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* p = dynamic_cast<ProbeWindow*>(top); p && p->Modal()) return p;
    return nullptr;
  }

  // Opens TSecondProbe; from inside its run, `during` sees it and ends it.
  int Open(const std::function<void(ProbeWindow*)>& during) {
    QTimer::singleShot(0, [during] { during(ModalWindow()); });
    return app->RunModalWindow(QStringLiteral("TSecondProbe"));
  }

  std::vector<QPointer<ProbeWindow>> made;
  QPointer<ProbeWindow> main;
};

TEST_F(OpenByName, EachOpeningIsAFreshOwnedModalWindowReleasedAfterItsRun) {
  for (int opening = 1; opening <= 2; ++opening) {
    bool owned = false;
    bool mainDisabled = false;
    const int result = Open([&](ProbeWindow* w) {
      ASSERT_NE(w, nullptr);
      const auto windows = app->OwnedWindows();
      owned = std::find(windows.begin(), windows.end(), w) != windows.end();
      mainDisabled = !main->isEnabled();
      w->Close();
    });
    EXPECT_EQ(result, 2) << opening;
    EXPECT_TRUE(owned) << opening;
    EXPECT_TRUE(mainDisabled) << opening;
    ASSERT_EQ(made.size(), std::size_t(opening));
    EXPECT_FALSE(made.back().isNull()) << "released, not yet destroyed";
    EXPECT_TRUE(guitest::pumpUntil([&] { return made.back().isNull(); })) << opening;
    EXPECT_TRUE(main->isEnabled()) << opening;
  }
  EXPECT_EQ(app->OwnedWindows().size(), 1u);
  EXPECT_TRUE(boxes->empty());
}

TEST_F(OpenByName, AWindowThatCannotBeMadeGoesToTheErrorDisplayAndNothingOpens) {
  WindowFactories::Register(QStringLiteral("TUndescribed"), [] {
    return std::make_unique<ProbeWindow>(QStringLiteral("TUndescribed"));
  });
  const struct {
    const char* className;
    const char* shown;
  } cases[] = {
      {"TUndescribed", "Resource TUndescribed not found."},
      {"TUnregistered", "Class TUnregistered not found."},
  };
  for (const auto& c : cases) {
    boxes->clear();
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = ModalWindow() != nullptr; });
    EXPECT_EQ(app->RunModalWindow(QLatin1String(c.className)), 0) << c.className;
    guitest::pump();
    EXPECT_FALSE(opened) << c.className;
    ASSERT_EQ(boxes->size(), 1u) << c.className;
    EXPECT_EQ(boxes->front().text, QLatin1String(c.shown));
    EXPECT_EQ(app->OwnedWindows().size(), 1u) << c.className;
    EXPECT_TRUE(main->isEnabled()) << c.className;
  }
}

}  // namespace
