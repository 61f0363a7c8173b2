#include "pellory/shell/component_classes.h"

#include <map>

#include "pellory/shell/shell_error.h"

namespace pellory::shell {

namespace {

std::map<QString, ComponentClasses::Factory>& Factories() {
  static std::map<QString, ComponentClasses::Factory> factories;
  return factories;
}

}  // namespace

void ComponentClasses::Register(const QString& className, Factory factory) {
  Factories().insert_or_assign(className, std::move(factory));
}

DescribedComponent* ComponentClasses::Create(const QString& className,
                                             const CreationContext& context) {
  const auto it = Factories().find(className);
  if (it == Factories().end())
    throw DescriptionReadError(QStringLiteral("Class %1 not found").arg(className));
  return it->second(context);
}

void DescribedComponent::UnknownProperty(const QString& path) {
  throw ShellError(QStringLiteral("Property %1 does not exist").arg(path));
}

}  // namespace pellory::shell
