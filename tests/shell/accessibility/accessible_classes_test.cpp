// The program's accessible interfaces, made from one table by class.
#include "pellory/shell/accessible_classes.h"

#include <gtest/gtest.h>

#include <QAccessibleWidget>
#include <QDial>
#include <QLCDNumber>

namespace {

using namespace pellory::shell;

// Widgets of classes nothing else in the program registers.
class Counter : public QLCDNumber {};
class PlainDial : public QDial {};

class CounterAccessible : public QAccessibleWidget {
 public:
  explicit CounterAccessible(QLCDNumber* counter)
      : QAccessibleWidget(counter, QAccessible::Clock) {}
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QStringLiteral("first row") : QAccessibleWidget::text(t);
  }
};

class LaterCounterAccessible : public QAccessibleWidget {
 public:
  explicit LaterCounterAccessible(QLCDNumber* counter)
      : QAccessibleWidget(counter, QAccessible::Chart) {}
};

TEST(AccessibleClasses, AnObjectGetsTheInterfaceOfItsClassRow) {
  RegisterAccessibleClasses({AccessibleOf<QLCDNumber, CounterAccessible>()});
  // A second registration of the class, as a window makes more controls,
  // neither replaces the row nor installs a second factory.
  RegisterAccessibleClasses({AccessibleOf<QLCDNumber, LaterCounterAccessible>()});
  QLCDNumber counter;
  Counter derived;
  for (QWidget* widget : {static_cast<QWidget*>(&counter), static_cast<QWidget*>(&derived)}) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Clock);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("first row"));
  }
}

TEST(AccessibleClasses, OtherClassesKeepQtsOwnInterfaces) {
  RegisterAccessibleClasses({AccessibleOf<QLCDNumber, CounterAccessible>()});
  PlainDial dial;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&dial);
  ASSERT_NE(face, nullptr);
  EXPECT_NE(face->role(), QAccessible::Clock);
  EXPECT_EQ(dynamic_cast<CounterAccessible*>(face), nullptr);
}

}  // namespace
