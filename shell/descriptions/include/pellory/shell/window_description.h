// A window's stored description, held as data: the window's own properties,
// then its components in stored order, each with its properties in stored
// order and its own sub-components (menu items).
#pragma once

#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace pellory::shell {

// An event property names a handler of the window ("Exit1Click").
struct HandlerRef {
  QString name;
  bool operator==(const HandlerRef&) const = default;
};

using StoredValue = std::variant<bool, int, QString, QStringList, HandlerRef>;

struct StoredProperty {
  QString path;  // "Left", "Font.Height", "OnClick"
  StoredValue value;
};

struct ComponentDescription {
  QString className;
  QString name;
  std::vector<StoredProperty> properties;
  std::vector<ComponentDescription> children;
};

struct WindowDescription {
  QString className;
  QString name;
  std::vector<StoredProperty> properties;
  std::vector<ComponentDescription> components;
};

// Typed reads of a stored value; a value of the wrong kind raises
// "Invalid property value".
int IntValue(const StoredValue& v);
bool BoolValue(const StoredValue& v);
QString StringValue(const StoredValue& v);
QStringList StringListValue(const StoredValue& v);
QString HandlerValue(const StoredValue& v);

}  // namespace pellory::shell
