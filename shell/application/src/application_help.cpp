// The application object's calls into the help engine.
#include "pellory/platform/help_engine.h"
#include "pellory/shell/tapplication.h"

namespace pellory::shell {

void TApplication::InstallHelpEngine() {
  helpEngine_ = [](WId owner, const QString& fileName, int command, quintptr data) {
    platform::RequestHelp(owner, fileName, command, data);  // Its answer is not needed.
  };
  // What the engine has to tell the user shows like an error, captioned
  // with the title.
  platform::SetHelpNotice([this](WId, const QString& text) {
    ErrorBox box;
    box.caption = title_;
    box.text = text;
    presenter_->Present(box);
  });
}

void TApplication::QuitHelp() {
  if (!helpFile_.isEmpty()) HelpCommand(platform::kHelpQuit, 0);
  if (Instance() == this) platform::SetHelpNotice({});
}

void TApplication::HelpCommand(int command, quintptr data) {
  // Without a main window the owner is the application itself, which has
  // no window of its own here.
  const WId owner = mainForm_ ? mainForm_->winId() : 0;
  if (helpEngine_) helpEngine_(owner, helpFile_, command, data);
}

void TApplication::ContextHelp(int id) {
  HelpCommand(platform::kHelpContext, static_cast<quintptr>(id));
}

}  // namespace pellory::shell
