#include "pellory/shell/error_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "pellory/shell/message_dialog.h"

namespace pellory::shell {

void MessageBoxPresenter::Present(const ErrorBox& box) {
  QPointer<QWidget> previous = QApplication::activeWindow();
  if (box.form == ErrorBox::Form::MessageDialog) {
    RunMessageDialog(box.text, MessageKind::Error);
  } else {
    QMessageBox message(QMessageBox::Critical, box.caption, box.text, QMessageBox::Ok);
    // Owned by no window of ours, like a box of the hidden application window.
    message.setWindowModality(Qt::ApplicationModal);
    message.exec();
  }
  if (previous && previous->isVisible()) previous->activateWindow();
}

}  // namespace pellory::shell
