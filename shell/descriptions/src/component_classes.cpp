#include "pellory/shell/component_classes.h"

#include <map>

#include "pellory/shell/shell_error.h"

namespace pellory::shell {

namespace {

struct ComponentClass {
  ComponentClasses::Factory factory;
  const PropertyTable* properties;
};

std::map<QString, ComponentClass>& Classes() {
  static std::map<QString, ComponentClass> classes;
  return classes;
}

}  // namespace

void ComponentClasses::Register(const QString& className, Factory factory,
                                const PropertyTable& properties) {
  Classes().insert_or_assign(className, ComponentClass{std::move(factory), &properties});
}

DescribedComponent* ComponentClasses::Create(const QString& className,
                                             const CreationContext& context) {
  const auto it = Classes().find(className);
  if (it == Classes().end())
    throw DescriptionReadError(QStringLiteral("Class %1 not found").arg(className));
  return it->second.factory(context);
}

const PropertyTable* ComponentClasses::Properties(const QString& className) {
  const auto it = Classes().find(className);
  return it == Classes().end() ? nullptr : it->second.properties;
}

}  // namespace pellory::shell
