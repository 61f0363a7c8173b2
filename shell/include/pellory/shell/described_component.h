// What every component read from a stored description offers the reader:
// property setting by path and the notification that reading has finished.
#pragma once

#include <QObject>
#include <QString>

#include "pellory/shell/window_description.h"

namespace pellory::shell {

class StoredWindow;

class DescribedComponent {
 public:
  virtual ~DescribedComponent() = default;

  // Applies one stored property; raises an error for an unknown path or a
  // value the property does not accept.
  virtual void SetStoredProperty(const QString& path, const StoredValue& value) = 0;
  // Sent to every component, in stored order, once the whole description of
  // its window has been read.
  virtual void NotifyLoaded() {}
  // The Qt object; deleting it destroys the component.
  virtual QObject* Object() = 0;
  // The help topic of the component; 0 for none, then a help request goes
  // on to its parent.
  virtual int HelpContext() const { return 0; }

  QString Name() const { return name_; }
  void SetName(const QString& name) { name_ = name; }

 protected:
  // Raises the error for a path this component does not know.
  [[noreturn]] static void UnknownProperty(const QString& path);

 private:
  QString name_;
};

// Where a new component goes: its window, the widget its controls sit on
// and, for a sub-component, the component it belongs to.
struct CreationContext {
  StoredWindow* window = nullptr;
  QWidget* parentWidget = nullptr;
  DescribedComponent* parentComponent = nullptr;
};

}  // namespace pellory::shell
