#include "pellory/shell/description_registry.h"

#include <map>

#include "pellory/shell/shell_error.h"

namespace pellory::shell {

namespace {

std::map<QString, WindowDescription>& Descriptions() {
  static std::map<QString, WindowDescription> descriptions;
  return descriptions;
}

}  // namespace

void DescriptionRegistry::Register(WindowDescription description) {
  const QString key = description.className;
  Descriptions().insert_or_assign(key, std::move(description));
}

const WindowDescription& DescriptionRegistry::Find(const QString& className) {
  const auto it = Descriptions().find(className);
  if (it == Descriptions().end())
    throw DescriptionMissingError(QStringLiteral("Resource %1 not found").arg(className));
  return it->second;
}

QStringList DescriptionRegistry::ClassNames() {
  QStringList names;
  for (const auto& [name, description] : Descriptions()) names << name;
  return names;
}

bool DescriptionRegistry::Contains(const QString& className) {
  return Descriptions().count(className) != 0;
}

}  // namespace pellory::shell
