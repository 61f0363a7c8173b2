// Lets a session ask the user for a table's missing password in the
// password dialog, for as long as this object lives.
#pragma once

#include <functional>

class QDialog;

namespace pellory::data {
class TSession;
}

namespace pellory::shell {

class PasswordPrompt {
 public:
  explicit PasswordPrompt(data::TSession& session);
  ~PasswordPrompt();  // Gives the session back the prompt it had before.
  PasswordPrompt(const PasswordPrompt&) = delete;
  PasswordPrompt& operator=(const PasswordPrompt&) = delete;

  // Shows the password dialog modally; true when it was closed with OK.
  static bool Ask(data::TSession& session);
  // Gives a dialog the font and colours of the program's windows.
  static void Dress(QDialog& dialog);

 private:
  data::TSession& session_;
  std::function<bool(data::TSession&)> earlier_;
};

}  // namespace pellory::shell
