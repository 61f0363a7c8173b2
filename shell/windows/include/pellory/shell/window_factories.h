// The program's windows by class name. The programs register a factory for
// each window class at start-up, so that one window can open another by its
// class name without including its header (windows never include each
// other); TApplication::RunModalWindow opens them.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace pellory::shell {

class StoredWindow;

class WindowFactories {
 public:
  // Makes an unconstructed window of one class.
  using Factory = std::function<std::unique_ptr<StoredWindow>()>;

  // Adds or replaces the factory of `className`.
  static void Register(const QString& className, Factory factory);
  static bool Contains(const QString& className);
  // A fresh, unconstructed window; raises "Class %s not found" for a class
  // that was never registered.
  static std::unique_ptr<StoredWindow> Make(const QString& className);
};

}  // namespace pellory::shell
