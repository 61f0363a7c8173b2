// What every component read from a stored description offers the reader:
// the table of its class's stored properties and events, and the
// notification that reading has finished.
#pragma once

#include <QObject>
#include <QString>

#include "pellory/shell/property_table.h"

namespace pellory::shell {

class StoredWindow;

class DescribedComponent {
 public:
  virtual ~DescribedComponent() = default;

  // The stored properties and events of the component's class.
  virtual const PropertyTable& StoredProperties() const = 0;
  // Sent to every component, in stored order, once the whole description of
  // its window has been read.
  virtual void NotifyLoaded() {}
  // Scales the component's positions and sizes by m/d for a screen of
  // another resolution (screen_scaling.h); components without any keep
  // this.
  virtual void ChangeScale(int /*m*/, int /*d*/) {}
  // The Qt object; deleting it destroys the component.
  virtual QObject* Object() = 0;
  // The help topic of the component; 0 for none, then a help request goes
  // on to its parent.
  virtual int HelpContext() const { return 0; }

  QString Name() const { return name_; }
  void SetName(const QString& name) { name_ = name; }

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
