// The component classes a stored description may name, with the function
// that creates an empty component of each.
#pragma once

#include <QString>
#include <functional>

#include "pellory/shell/described_component.h"

namespace pellory::shell {

class ComponentClasses {
 public:
  using Factory = std::function<DescribedComponent*(const CreationContext&)>;

  static void Register(const QString& className, Factory factory);
  // Raises "Class %s not found" for a class that was never registered.
  static DescribedComponent* Create(const QString& className, const CreationContext& context);
};

}  // namespace pellory::shell
