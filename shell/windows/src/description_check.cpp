#include "pellory/shell/description_check.h"

#include "pellory/shell/component_classes.h"
#include "pellory/shell/stored_window.h"

namespace pellory::shell {

namespace {

class Checker {
 public:
  explicit Checker(const StoredWindow& window) : window_(window) {}

  void Properties(const QString& where, const QString& className, const PropertyTable& table,
                  const std::vector<StoredProperty>& properties) {
    for (const StoredProperty& property : properties) {
      const QString at = where + QLatin1Char('.') + property.path;
      const PropertyEntry* entry = table.Find(property.path);
      const auto* handler = std::get_if<HandlerRef>(&property.value);
      if (!entry)
        faults_ << QStringLiteral("%1: %2 declares no such property or event").arg(at, className);
      else if (entry->kind == PropertyEntry::Kind::Event && !handler)
        faults_ << QStringLiteral("%1: an event takes a handler name").arg(at);
      else if (entry->kind == PropertyEntry::Kind::Property && handler)
        faults_ << QStringLiteral("%1: a property takes no handler name").arg(at);
      else if (handler && !window_.HasHandler(handler->name))
        faults_ << QStringLiteral("%1: the window has no handler %2").arg(at, handler->name);
    }
  }

  void Component(const QString& windowName, const ComponentDescription& component) {
    const QString where = windowName + QLatin1Char('.') + component.name;
    const PropertyTable* table = ComponentClasses::Properties(component.className);
    if (!table) {
      faults_ << QStringLiteral("%1: class %2 is not registered").arg(where, component.className);
      return;
    }
    Properties(where, component.className, *table, component.properties);
    for (const ComponentDescription& child : component.children) Component(windowName, child);
  }

  QStringList Faults() const { return faults_; }

 private:
  const StoredWindow& window_;
  QStringList faults_;
};

}  // namespace

QStringList DescriptionFaults(const WindowDescription& description, const StoredWindow& window) {
  Checker checker(window);
  const QString name = description.name.isEmpty() ? description.className : description.name;
  checker.Properties(name, description.className, window.StoredProperties(),
                     description.properties);
  for (const ComponentDescription& component : description.components)
    checker.Component(name, component);
  return checker.Faults();
}

}  // namespace pellory::shell
