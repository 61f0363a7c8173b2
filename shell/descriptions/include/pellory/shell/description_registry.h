// The stored descriptions of the program's windows, by window class name.
#pragma once

#include <QString>
#include <QStringList>

#include "pellory/shell/window_description.h"

namespace pellory::shell {

class DescriptionRegistry {
 public:
  // Adds or replaces the description of `description.className`.
  static void Register(WindowDescription description);
  // Raises "Resource %s not found" when the class has no description.
  static const WindowDescription& Find(const QString& className);
  static bool Contains(const QString& className);
  // The class names of every registered description.
  static QStringList ClassNames();
};

}  // namespace pellory::shell
