// The accessible interfaces of the program's own widgets, registered by
// class in one table. Qt is given one factory for the whole program, which
// makes an object the interface of the first row whose class it belongs to
// (the class itself or one derived from it).
#pragma once

#include <QAccessible>
#include <initializer_list>

namespace pellory::shell {

struct AccessibleClass {
  const QMetaObject* type;
  // Called with an object of `type` only.
  QAccessibleInterface* (*make)(QObject* object);
};

// The row for widgets of class `W`, read through the interface `I`, which
// is made from a `W*`.
template <class W, class I>
AccessibleClass AccessibleOf() {
  return {&W::staticMetaObject,
          [](QObject* object) -> QAccessibleInterface* { return new I(static_cast<W*>(object)); }};
}

// Adds rows to the table; the first call gives Qt the factory. A class
// registered again keeps its first row, so a window may register its rows
// each time one of its controls is made.
void RegisterAccessibleClasses(std::initializer_list<AccessibleClass> rows);

}  // namespace pellory::shell
