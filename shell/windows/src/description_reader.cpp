#include "description_reader.h"

#include "pellory/shell/component_classes.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"

namespace pellory::shell {

std::vector<DescribedComponent*> DescriptionReader::Read(const WindowDescription& description) {
  loaded_.clear();
  window_.SetName(description.name);
  ReadProperties(window_, description.name.isEmpty() ? description.className : description.name,
                 description.properties);
  loaded_.push_back(&window_);
  for (const auto& component : description.components) ReadComponent(component, nullptr);
  return loaded_;
}

void DescriptionReader::Apply(DescribedComponent& component, const StoredProperty& property) {
  const PropertyEntry* entry = component.StoredProperties().Find(property.path);
  if (!entry) throw ShellError(QStringLiteral("Property %1 does not exist").arg(property.path));
  if (entry->kind == PropertyEntry::Kind::Event)
    entry->bind(component, window_.FindHandler(HandlerValue(property.value)));
  else
    entry->set(component, property.value);
}

void DescriptionReader::ReadProperties(DescribedComponent& component, const QString& name,
                                       const std::vector<StoredProperty>& properties) {
  for (const auto& property : properties) {
    try {
      Apply(component, property);
    } catch (const DescriptionReadError&) {
      throw;  // Already names the component and property that failed.
    } catch (const std::exception& e) {
      throw DescriptionReadError(
          QStringLiteral("Error reading %1%2%3: %4")
              .arg(name, QStringLiteral("."), property.path, QString::fromUtf8(e.what())));
    }
  }
}

void DescriptionReader::ReadComponent(const ComponentDescription& description,
                                      DescribedComponent* parent) {
  // A control stored inside another control (a panel) sits on it.
  QWidget* parentWidget = window_.Client();
  if (auto* container = parent ? qobject_cast<QWidget*>(parent->Object()) : nullptr)
    parentWidget = container;
  CreationContext context{&window_, parentWidget, parent};
  DescribedComponent* component = ComponentClasses::Create(description.className, context);
  component->SetName(description.name);
  component->Object()->setObjectName(description.name);
  try {
    ReadProperties(*component,
                   description.name.isEmpty() ? description.className : description.name,
                   description.properties);
    for (const auto& child : description.children) ReadComponent(child, component);
  } catch (...) {
    delete component->Object();
    throw;
  }
  window_.AddComponent(component);
  loaded_.push_back(component);
}

}  // namespace pellory::shell
