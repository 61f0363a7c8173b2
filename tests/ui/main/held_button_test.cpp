// A navigator button held down with the mouse: where the pointer counts as
// over it, and the repeat timer that keeps running while the pointer is
// away.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/data/table.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"

namespace cataloguetest {
namespace {

using pellory::ui::TNavigateBtn;

class HeldButton : public CatalogueWindow {
 protected:
  QString Name() const { return form->DBEdit1()->text(); }
  QAbstractButton* Next() const { return form->DBNavigator1()->Button(TNavigateBtn::nbNext); }
  // A mouse event at `at` in the button's coordinates, with the left
  // button held unless it is the release.
  static void Send(QWidget* button, QEvent::Type type, QPoint at) {
    const QPointF local(at);
    QMouseEvent event(type, local, button->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(button, &event);
  }
};

TEST_F(HeldButton, TheEdgesThatCountAsOverTheButton) {
  Open(Numbered(30));
  QAbstractButton* next = Next();
  const int w = next->width(), h = next->height();
  // Left and top edges inclusive, right edge exclusive, and the row just
  // below the bottom edge still inside.
  const struct {
    QPoint at;
    bool over;
  } cases[] = {
      {{w / 2, h / 2}, true}, {{0, 0}, true},       {{w - 1, h - 1}, true},
      {{w / 2, h}, true},     {{0, h}, true},       {{w, h / 2}, false},
      {{-1, h / 2}, false},   {{w / 2, -1}, false}, {{w / 2, h + 1}, false},
  };
  for (const auto& c : cases) {
    const QString before = Name();
    Send(next, QEvent::MouseButtonPress, {w / 2, h / 2});
    Send(next, QEvent::MouseMove, c.at);
    EXPECT_EQ(next->isDown(), c.over) << c.at.x() << "," << c.at.y();
    Send(next, QEvent::MouseButtonRelease, c.at);
    EXPECT_EQ(Name() != before, c.over) << c.at.x() << "," << c.at.y();
    EXPECT_FALSE(next->isDown());
  }
  EXPECT_TRUE(boxes->empty());
}

TEST_F(HeldButton, TheRepeatTimerRunsOnWhileThePointerIsAway) {
  Open(Numbered(30));
  QAbstractButton* next = Next();
  const QPoint inside = next->rect().center();
  const QPoint away(inside.x(), -20);
  EXPECT_EQ(next->findChild<QTimer*>(), nullptr) << "made on the first press";

  Send(next, QEvent::MouseButtonPress, inside);
  auto* timer = next->findChild<QTimer*>();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 400);

  // Away from the button: shown up, the timer goes on and its first firing
  // steps nothing.
  Send(next, QEvent::MouseMove, away);
  EXPECT_FALSE(next->isDown());
  EXPECT_TRUE(timer->isActive());
  ASSERT_TRUE(guitest::pumpUntil([&] { return timer->interval() == 100; }, 5000));
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));

  // Back over it: shown down, and the running 100 ms timer steps at once,
  // without a new 400 ms delay.
  Send(next, QEvent::MouseMove, inside);
  EXPECT_TRUE(next->isDown());
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 100);
  ASSERT_TRUE(guitest::pumpUntil([&] { return Name() != QStringLiteral("Font 1"); }, 5000));

  // The release over the button stops the timer and steps once more.
  const int stepped = Name().mid(5).toInt();
  Send(next, QEvent::MouseButtonRelease, inside);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(Name(), QStringLiteral("Font %1").arg(stepped + 1));
  EXPECT_TRUE(boxes->empty());
}

TEST_F(HeldButton, FirstAndLastDoNotRepeat) {
  Open(Numbered(3));
  for (TNavigateBtn kind : {TNavigateBtn::nbFirst, TNavigateBtn::nbLast}) {
    form->Table1().First();
    form->Table1().Next();  // both buttons enabled
    QAbstractButton* button = form->DBNavigator1()->Button(kind);
    ASSERT_TRUE(button->isEnabled());
    Send(button, QEvent::MouseButtonPress, button->rect().center());
    EXPECT_EQ(button->findChild<QTimer*>(), nullptr);
    Send(button, QEvent::MouseButtonRelease, button->rect().center());
  }
}

}  // namespace
}  // namespace cataloguetest
