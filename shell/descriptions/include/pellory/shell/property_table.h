// The stored properties and events of one component class, declared once:
// the description reader applies a stored property through the entry of its
// path, and tests check every description against the tables. A class's
// table extends its base class's table.
//
//   const PropertyTable& TButton::Properties() {
//     static const PropertyTable table(&DescribedControl::Properties(), {
//         Property<TButton>("Caption", [](TButton& b, const StoredValue& v) { ... }),
//         Event<TButton>("OnClick", [](TButton& b, Handler h) { b.OnClick = h; }),
//     });
//     return table;
//   }
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <vector>

#include "pellory/shell/window_description.h"

namespace pellory::shell {

class DescribedComponent;

// A window's handler, bound to an event.
using Handler = std::function<void()>;

struct PropertyEntry {
  enum class Kind { Property, Event };

  QString path;  // "Left", "Font.Height", "OnClick"
  Kind kind = Kind::Property;
  // Property: applies a stored value; raises for a value it does not take.
  std::function<void(DescribedComponent&, const StoredValue&)> set;
  // Event: binds the window's handler named by the stored value.
  std::function<void(DescribedComponent&, Handler)> bind;
};

class PropertyTable {
 public:
  // `base` is the table of the base class, or null; it must outlive this one.
  PropertyTable(const PropertyTable* base, std::initializer_list<PropertyEntry> entries);

  // The entry of `path`: this class's own first, then its bases'. Null when
  // no class of the chain declares it.
  const PropertyEntry* Find(const QString& path) const;
  // Every declared path, this class's first.
  QStringList Paths() const;

 private:
  const PropertyTable* base_;
  std::vector<PropertyEntry> entries_;
};

// An entry whose setter works on the component as a `C` (its class or one
// of its bases).
template <class C>
PropertyEntry Property(const char* path, void (*set)(C&, const StoredValue&)) {
  return {QLatin1String(path),
          PropertyEntry::Kind::Property,
          [set](DescribedComponent& c, const StoredValue& v) { set(dynamic_cast<C&>(c), v); },
          {}};
}

template <class C>
PropertyEntry Event(const char* path, void (*bind)(C&, Handler)) {
  return {QLatin1String(path),
          PropertyEntry::Kind::Event,
          {},
          [bind](DescribedComponent& c, Handler h) { bind(dynamic_cast<C&>(c), std::move(h)); }};
}

}  // namespace pellory::shell
