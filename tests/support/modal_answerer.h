// Answers each modal dialog of one class as it opens, from inside its modal
// loop: the first with the first answer, and so on. A dialog beyond the
// answers, or still open two seconds after its answer, is rejected, so that
// a test cannot hang on it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <vector>

namespace guitest {

template <class Dialog>
class ModalAnswerer {
 public:
  using Answer = std::function<void(Dialog&)>;

  explicit ModalAnswerer(std::vector<Answer> answers) : answers_(std::move(answers)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start(5);
  }
  // How many dialogs have opened so far.
  int Shown() const { return shown_; }
  // Called with each dialog before it is answered.
  std::function<void(Dialog&)> onShown;

 private:
  void Look() {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool()) return;
    dialog->setProperty("answered", true);
    if (onShown) onShown(*dialog);
    const std::size_t index = std::size_t(shown_++);
    if (index >= answers_.size()) {
      dialog->reject();
      return;
    }
    QTimer::singleShot(2000, dialog, [dialog] { dialog->reject(); });
    answers_[index](*dialog);
  }

  std::vector<Answer> answers_;
  QTimer timer_;
  int shown_ = 0;
};

}  // namespace guitest
