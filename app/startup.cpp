#include "app/startup.h"

#include "app/shell_error.h"
#include "app/tapplication.h"
#include "pellory/data/session.h"
#include "ui/main/tform2.h"

namespace pellory::app {

int RunProgram(std::unique_ptr<ErrorPresenter> presenter) {
  TApplication application;
  if (presenter) application.SetErrorPresenter(std::move(presenter));
  application.SetTitle(QStringLiteral("Pellory Fonts"));
  application.SetHelpFile(QStringLiteral("fontl.hlp"));
  try {
    application.CreateForm<ui::TForm2>();
  } catch (const std::exception& error) {
    application.ShowLastChance(error);
    return 1;
  } catch (...) {
    application.ShowLastChance(ShellError(QStringLiteral("Unknown error")));
    return 1;
  }
  application.Run();
  application.Shutdown();
  // The engine is let go while the application object still exists.
  data::Session.Stop();
  return 0;
}

}  // namespace pellory::app
