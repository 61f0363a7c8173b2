// The single-instance guard: a non-visual component of the main window.
// Once the window has been read it claims the named mutex AppName; when
// another copy of the program holds that name it says so, puts its window
// out of sight and asks the program to end. The running copy is told
// nothing.
#pragma once

#include <QObject>
#include <QString>

#include "pellory/platform/named_mutex.h"
#include "pellory/shell/described_component.h"

namespace pellory::shell {

class TGLRunOnce : public QObject, public DescribedComponent {
  Q_OBJECT
 public:
  // AppName starts as the application's title, ErrorMessage as "This
  // application is already running!", ShowErrorMessage as true.
  explicit TGLRunOnce(const CreationContext& context);

  QString AppName() const { return appName_; }
  void SetAppName(const QString& name) { appName_ = name; }
  QString ErrorMessage() const { return errorMessage_; }
  void SetErrorMessage(const QString& message) { errorMessage_ = message; }
  bool ShowErrorMessage() const { return showErrorMessage_; }
  void SetShowErrorMessage(bool on) { showErrorMessage_ = on; }

  // AppName, ErrorMessage, ShowErrorMessage; Left and Top only place the
  // component at design time.
  static const PropertyTable& Properties();
  const PropertyTable& StoredProperties() const override { return Properties(); }
  // The whole guard.
  void NotifyLoaded() override;
  QObject* Object() override { return this; }

 private:
  void ReportAlreadyRunning();

  StoredWindow* owner_;
  QString appName_;
  QString errorMessage_;
  bool showErrorMessage_ = true;
  // Held open for as long as the window lives: until the program ends.
  platform::NamedMutex mutex_;
};

}  // namespace pellory::shell
