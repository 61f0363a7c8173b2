// The application object's error display: the box an error raised in a
// handler brings up, the last-chance box, the standard message dialog, and
// the guard that sends a handler's error there.
#include <QWidget>

#include "pellory/shell/error_texts.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/tapplication.h"

namespace pellory::shell {

void TApplication::ShowException(const std::exception& error) {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (dynamic_cast<const SilentAbort*>(&error)) return;
  ErrorBox box;
  box.caption = title_;
  box.text = WithTrailingPeriod(QString::fromUtf8(error.what()));
  presenter_->Present(box);
}

void TApplication::ShowLastChance(const std::exception& error) {
  const auto* shellError = dynamic_cast<const ShellError*>(&error);
  ErrorBox box;
  box.caption = QStringLiteral("Application Error");
  box.text = LastChanceText(ErrorClassName(error), shellError ? shellError->Address() : nullptr,
                            QString::fromUtf8(error.what()));
  box.modality = ErrorBox::Modality::Task;
  presenter_->Present(box);
}

void TApplication::ShowMessageDialog(const QString& text, MessageKind kind) {
  ErrorBox box;
  box.caption = MessageDialogCaption(kind);
  box.text = text;
  box.form = ErrorBox::Form::MessageDialog;
  presenter_->Present(box);
}

void TApplication::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowException(ShellError(QStringLiteral("Unknown error")));
  }
}

void TApplication::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

std::function<void()> TApplication::Guarded(std::function<void()> handler) {
  return [this, handler = std::move(handler)] { Guard(handler); };
}

void TApplication::SetErrorPresenter(std::unique_ptr<ErrorPresenter> presenter) {
  presenter_ = std::move(presenter);
}

}  // namespace pellory::shell
