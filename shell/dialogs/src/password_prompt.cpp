#include "pellory/shell/password_prompt.h"

#include "pellory/data/password_dialog.h"
#include "pellory/data/session.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"

namespace pellory::shell {

PasswordPrompt::PasswordPrompt(data::TSession& session)
    : session_(session), earlier_(std::move(session.PasswordPrompt)) {
  session_.PasswordPrompt = &PasswordPrompt::Ask;
}

PasswordPrompt::~PasswordPrompt() {
  session_.PasswordPrompt = std::move(earlier_);
}

void PasswordPrompt::Dress(QDialog& dialog) {
  dialog.setFont(StoredFont{QStringLiteral("MS Sans Serif"), -11}.ToQFont());
  dialog.setPalette(ControlPalette(SystemColor::BtnFace));
}

bool PasswordPrompt::Ask(data::TSession& session) {
  data::TPasswordDialog dialog(session);
  Dress(dialog);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace pellory::shell
