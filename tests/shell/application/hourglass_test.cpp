// The hourglass: shown only on the user-interface thread over the default
// pointer, and put back as it was.
#include "pellory/shell/hourglass.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <thread>

namespace {

using pellory::shell::ShowHourglass;

// The shape of the pointer the program sets, or Qt::BlankCursor for none.
Qt::CursorShape Pointer() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::BlankCursor;
}

TEST(Hourglass, ShownOverTheDefaultPointerAndPutBack) {
  ASSERT_EQ(Pointer(), Qt::BlankCursor);
  const std::function<void()> putBack = ShowHourglass();
  EXPECT_EQ(Pointer(), Qt::WaitCursor);
  ASSERT_TRUE(putBack);
  putBack();
  EXPECT_EQ(Pointer(), Qt::BlankCursor);
}

TEST(Hourglass, APointerSomeoneElseSetStays) {
  QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
  const std::function<void()> putBack = ShowHourglass();
  EXPECT_FALSE(putBack);
  EXPECT_EQ(Pointer(), Qt::ArrowCursor);
  QGuiApplication::restoreOverrideCursor();
  EXPECT_EQ(Pointer(), Qt::BlankCursor);
}

TEST(Hourglass, NotFromAnotherThread) {
  std::function<void()> putBack = [] {};
  std::thread([&putBack] { putBack = ShowHourglass(); }).join();
  EXPECT_FALSE(putBack);
  EXPECT_EQ(Pointer(), Qt::BlankCursor);
}

}  // namespace
