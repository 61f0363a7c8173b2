// The shell's standard message dialog: a stock icon, the message wrapped
// at half the screen's width, and a row of buttons, all laid out in units
// of the dialog's font and centred on the screen.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QStringList>
#include <vector>

class QPushButton;

namespace pellory::shell {

enum class MessageKind { Error };

// The stock icon's side, in pixels, as drawn and as laid out.
constexpr int kMessageIconSize = 32;

// Where everything of a message dialog goes, in client pixels.
struct MessageDialogLayout {
  double cx = 0;  // Average width of the letters A to Z and a to z.
  double cy = 0;  // Height of that text.
  int horizontalMargin = 0;
  int verticalMargin = 0;
  int horizontalSpacing = 0;  // From the icon to the text.
  int verticalSpacing = 0;    // From the text to the buttons.
  int buttonWidth = 0;
  int buttonHeight = 0;
  int buttonSpacing = 0;
  QRect icon;
  QRect text;
  std::vector<QRect> buttons;
  QSize client;
};

// The layout for `text` in `font` with one button per caption, on a screen
// `screenWidth` pixels wide.
MessageDialogLayout LayOutMessageDialog(const QFont& font, const QString& text,
                                        const QStringList& buttonCaptions, int screenWidth);

// The message-box font of the system.
QFont MessageDialogFont();

// The caption a message dialog of `kind` carries ("Error").
QString MessageDialogCaption(MessageKind kind);

// A message of `kind` with one "OK" button, which is both the default
// button (Enter) and the cancel button (Escape). Closing the dialog with
// its close box ends it too.
class MessageDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kOk = 1;
  static constexpr int kClosed = 2;

  MessageDialog(const QString& text, MessageKind kind, QWidget* parent = nullptr);

  const MessageDialogLayout& Layout() const { return layout_; }
  const QString& Text() const { return text_; }
  QPushButton* OkButton() const { return ok_; }

  // The close box: ends the dialog with kClosed.
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CentreOnScreen();

  QString text_;
  QPixmap icon_;
  MessageDialogLayout layout_;
  QPushButton* ok_ = nullptr;
};

// Shows the dialog modally and returns once the user has closed it.
void RunMessageDialog(const QString& text, MessageKind kind);

}  // namespace pellory::shell
