#include "pellory/shell/window_description.h"

#include "pellory/shell/shell_error.h"

namespace pellory::shell {

namespace {

template <class T>
const T& Get(const StoredValue& v) {
  if (const T* p = std::get_if<T>(&v)) return *p;
  throw ShellError(QStringLiteral("Invalid property value"));
}

}  // namespace

int IntValue(const StoredValue& v) {
  return Get<int>(v);
}
bool BoolValue(const StoredValue& v) {
  return Get<bool>(v);
}
QString StringValue(const StoredValue& v) {
  return Get<QString>(v);
}
QStringList StringListValue(const StoredValue& v) {
  return Get<QStringList>(v);
}
QString HandlerValue(const StoredValue& v) {
  return Get<HandlerRef>(v).name;
}

}  // namespace pellory::shell
