// The component classes a stored description may name, each with the
// function that creates an empty component and its table of stored
// properties and events.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "pellory/shell/described_component.h"

namespace pellory::shell {

class ComponentClasses {
 public:
  using Factory = std::function<DescribedComponent*(const CreationContext&)>;

  static void Register(const QString& className, Factory factory, const PropertyTable& properties);
  // A class T with a constructor taking the creation context and a static
  // Properties() table.
  template <class T>
  static void Register(const char* className) {
    Register(
        QLatin1String(className), [](const CreationContext& c) { return new T(c); },
        T::Properties());
  }
  // Raises "Class %s not found" for a class that was never registered.
  static DescribedComponent* Create(const QString& className, const CreationContext& context);
  // The table of a registered class; null for others.
  static const PropertyTable* Properties(const QString& className);
};

}  // namespace pellory::shell
