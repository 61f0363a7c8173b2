// Events delivered by the program's own QApplication: an error raised by
// any event handler reaches the error display and the loop goes on.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/shell_error.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;

class ThrowingWidget : public QWidget {
 protected:
  void mousePressEvent(QMouseEvent*) override {
    throw ShellError(QStringLiteral("Pressed where nothing works"));
  }
};

TEST(GuardedNotify, ErrorOfAnEventHandlerGoesToTheErrorDisplay) {
  auto boxes = std::make_shared<std::vector<ErrorBox>>();
  TApplication app;
  app.SetTitle(QStringLiteral("Pellory Fonts"));
  app.SetErrorPresenter(std::make_unique<shelltest::RecordingPresenter>(boxes));
  ThrowingWidget w;
  w.show();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), w.mapToGlobal(QPointF(1, 1)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &press);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().text, QStringLiteral("Pressed where nothing works."));

  // Also from inside the event loop: a timer handler that raises.
  bool after = false;
  QTimer::singleShot(0, [] { throw ShellError(QStringLiteral("Timer failed")); });
  QTimer::singleShot(0, [&] { after = true; });
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_TRUE(after);
  ASSERT_EQ(boxes->size(), 2u);
  EXPECT_EQ(boxes->back().text, QStringLiteral("Timer failed."));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  pellory::shell::GuardedQApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
