// How the error display shows its box. The program shows a real message
// box; tests put in a presenter that records what would be shown.
#pragma once

#include <QString>

namespace pellory::shell {

struct ErrorBox {
  enum class Icon { Error };
  enum class Modality { Application, Task };
  // The error display's message box, or the shell's standard message
  // dialog with its own layout (message_dialog.h).
  enum class Form { MessageBox, MessageDialog };

  QString caption;
  QString text;
  Icon icon = Icon::Error;
  Modality modality = Modality::Application;
  int buttons = 1;  // One OK button.
  Form form = Form::MessageBox;
};

class ErrorPresenter {
 public:
  virtual ~ErrorPresenter() = default;
  // Shows the box and returns once the user has dismissed it.
  virtual void Present(const ErrorBox& box) = 0;
};

// Shows the box as a QMessageBox with the error icon and one OK button,
// every other window of the program disabled while it is up; a box in the
// message dialog's form as that dialog.
class MessageBoxPresenter : public ErrorPresenter {
 public:
  void Present(const ErrorBox& box) override;
};

}  // namespace pellory::shell
