#include "pellory/platform/help_engine.h"

#include <QCoreApplication>
#include <QPointer>

#include "pellory/platform/help_viewer.h"

namespace pellory::platform {

namespace {

HelpNotice& Notice() {
  static HelpNotice notice;
  return notice;
}

QPointer<HelpViewer>& Viewer() {
  static QPointer<HelpViewer> viewer;
  return viewer;
}

}  // namespace

bool RequestHelp(WId owner, const QString& fileName, int command, quintptr data) {
  QPointer<HelpViewer>& viewer = Viewer();
  if (!viewer) {
    // Nothing to end when nothing was ever started.
    if (command == kHelpQuit) return true;
    if (!QCoreApplication::instance()) return false;
    // Goes with the application, ending the viewer if no quit came first.
    viewer = new HelpViewer(HelpViewer::DefaultPlaces(), QCoreApplication::instance());
    viewer->SetNotice(Notice());
  }
  return viewer->Request(owner, fileName, command, data);
}

void SetHelpNotice(HelpNotice notice) {
  Notice() = std::move(notice);
  if (Viewer()) Viewer()->SetNotice(Notice());
}

}  // namespace pellory::platform
