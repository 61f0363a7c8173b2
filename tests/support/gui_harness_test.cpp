// Checks the harness itself: waiting, input and pixel reading on a real widget.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include "gui_helpers.h"

namespace {

class Square : public QWidget {
 public:
  Square() { resize(40, 30); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.fillRect(QRect(10, 5, 8, 6), Qt::red);
  }
};

TEST(GuiHarness, PumpUntilSeesTimerAndGivesUp) {
  bool fired = false;
  QTimer::singleShot(20, [&] { fired = true; });
  EXPECT_TRUE(guitest::pumpUntil([&] { return fired; }));
  EXPECT_FALSE(guitest::pumpUntil([] { return false; }, 30));
}

TEST(GuiHarness, PixelsOfGrab) {
  Square s;
  EXPECT_EQ(guitest::pixelAt(&s, {0, 0}), QColor(Qt::white));
  EXPECT_EQ(guitest::pixelAt(&s, {12, 7}), QColor(Qt::red));
  EXPECT_EQ(guitest::boundsOfNot(guitest::grabImage(&s), Qt::white), QRect(10, 5, 8, 6));
}

TEST(GuiHarness, KeysReachAWidget) {
  QLineEdit edit;
  edit.show();
  guitest::type(&edit, "ab");
  guitest::key(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "a");
}

}  // namespace
