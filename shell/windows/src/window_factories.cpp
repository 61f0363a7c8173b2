#include "pellory/shell/window_factories.h"

#include <map>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"

namespace pellory::shell {

namespace {

std::map<QString, WindowFactories::Factory>& Factories() {
  static std::map<QString, WindowFactories::Factory> factories;
  return factories;
}

}  // namespace

void WindowFactories::Register(const QString& className, Factory factory) {
  Factories().insert_or_assign(className, std::move(factory));
}

bool WindowFactories::Contains(const QString& className) {
  return Factories().count(className) != 0;
}

std::unique_ptr<StoredWindow> WindowFactories::Make(const QString& className) {
  const auto it = Factories().find(className);
  std::unique_ptr<StoredWindow> window = it == Factories().end() ? nullptr : it->second();
  if (!window) throw ShellError(QStringLiteral("Class %1 not found").arg(className));
  return window;
}

}  // namespace pellory::shell
