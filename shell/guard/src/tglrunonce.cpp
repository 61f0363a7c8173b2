#include "pellory/shell/tglrunonce.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include "pellory/shell/message_dialog.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/tapplication.h"

namespace pellory::shell {

namespace {

QString Title() {
  const TApplication* app = TApplication::Instance();
  return app ? app->Title() : QString();
}

// Sets one of the window's own published properties, as its description
// would.
void SetWindowProperty(StoredWindow& window, const char* path, int value) {
  StoredWindow::Properties().Find(QLatin1String(path))->set(window, value);
}

QSize ScreenSize(const QWidget* window) {
  const QScreen* screen =
      window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize();
}

}  // namespace

TGLRunOnce::TGLRunOnce(const CreationContext& context)
    : QObject(context.window),
      owner_(context.window),
      appName_(Title()),
      errorMessage_(QStringLiteral("This application is already running!")) {}

const PropertyTable& TGLRunOnce::Properties() {
  using G = TGLRunOnce;
  using V = const StoredValue&;
  static const PropertyTable table(
      nullptr,
      {
          Property<G>("AppName", [](G& g, V v) { g.SetAppName(StringValue(v)); }),
          Property<G>("ErrorMessage", [](G& g, V v) { g.SetErrorMessage(StringValue(v)); }),
          Property<G>("ShowErrorMessage", [](G& g, V v) { g.SetShowErrorMessage(BoolValue(v)); }),
          Property<G>("Left", [](G&, V v) { IntValue(v); }),
          Property<G>("Top", [](G&, V v) { IntValue(v); }),
      });
  return table;
}

void TGLRunOnce::NotifyLoaded() {
  if (appName_.isEmpty()) {
    appName_ = Title();
    if (appName_.isEmpty())
      appName_ = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  }
  mutex_ = platform::NamedMutex::Create(appName_.toStdString());
  // A lock that cannot be claimed counts as a running copy, told by the
  // same dialog and nothing else.
  if (mutex_.Result() == platform::NamedMutex::Outcome::Created) {
    mutex_.ReleaseOwnership();
    return;
  }
  ReportAlreadyRunning();
}

void TGLRunOnce::ReportAlreadyRunning() {
  TApplication* app = TApplication::Instance();
  if (showErrorMessage_) {
    if (app)
      app->ShowMessageDialog(errorMessage_, MessageKind::Error);
    else
      RunMessageDialog(errorMessage_, MessageKind::Error);
  }
  if (owner_) {
    // The window's published Height, Width, Top and Left, in this order:
    // no size, just beyond the screen's bottom right corner.
    const QSize screen = ScreenSize(owner_);
    SetWindowProperty(*owner_, "Height", 0);
    SetWindowProperty(*owner_, "Width", 0);
    SetWindowProperty(*owner_, "Top", screen.height() + 1);
    SetWindowProperty(*owner_, "Left", screen.width() + 1);
  }
  if (app) app->Terminate();
}

}  // namespace pellory::shell
