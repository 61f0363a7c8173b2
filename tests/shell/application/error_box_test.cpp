// The real error box and the hint tool-tips, driven offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>

#include "gui_helpers.h"
#include "pellory/shell/hint_controller.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/tapplication.h"

namespace {

using namespace pellory::shell;

TEST(MessageBoxPresenting, TitleErrorIconAndOneOkButton) {
  TApplication app;  // Its presenter is the real message box.
  app.SetTitle(QStringLiteral("Pellory Fonts"));
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool applicationModal = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = int(box->buttons().size());
    // Application-modal: every other window of the program is blocked.
    applicationModal = box->windowModality() == Qt::ApplicationModal;
    box->button(QMessageBox::Ok)->click();
  });
  app.Guard([] { throw ShellError(QStringLiteral("Table is busy")); });
  EXPECT_EQ(title, QStringLiteral("Pellory Fonts"));
  EXPECT_EQ(text, QStringLiteral("Table is busy."));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(applicationModal);
}

class HintProbe : public ::testing::Test {
 protected:
  void TearDown() override {
    QToolTip::hideText();
    guitest::pump();
  }
  bool ShowHintEvent(QWidget* w) {
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &help);
    return QToolTip::isVisible();
  }
};

TEST_F(HintProbe, ToolTipShowsTheNearestHintWhenHintsAreOn) {
  TApplication app;
  QWidget window;
  window.resize(100, 100);
  auto* child = new QWidget(&window);
  child->setGeometry(10, 10, 40, 40);
  window.setToolTip(QStringLiteral("window hint"));
  window.show();
  // Tool-tips hide with a delay, so the cases that show none come first.
  EXPECT_FALSE(ShowHintEvent(child)) << "ShowHint is off when nothing sets it";
  HintController::SetShowHint(&window, true);
  app.SetShowHint(false);
  EXPECT_FALSE(ShowHintEvent(child)) << "the application's hints are off";
  app.SetShowHint(true);
  ASSERT_TRUE(ShowHintEvent(child));
  EXPECT_EQ(QToolTip::text(), QStringLiteral("window hint"));
}

}  // namespace
