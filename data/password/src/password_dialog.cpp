#include "pellory/data/password_dialog.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "pellory/data/session.h"

namespace pellory::data {

namespace {

// The box shows "*" for each character, whatever the platform's mask.
class AsteriskMaskStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

constexpr QSize kClientSize(273, 132);

}  // namespace

TPasswordDialog::TPasswordDialog(TSession& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      session_(session) {
  setObjectName(QStringLiteral("PasswordDialog"));
  setWindowTitle(QStringLiteral("Enter password"));
  setFixedSize(kClientSize);
  BuildControls();
  EditChange();
}

QPushButton* TPasswordDialog::MakeButton(QWidget* parent, const QString& caption, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  return button;
}

void TPasswordDialog::BuildControls() {
  groupBox1_ = new QGroupBox(QStringLiteral("Password"), this);
  groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
  groupBox1_->setGeometry(8, 8, 257, 81);

  edit_ = new QLineEdit(groupBox1_);
  edit_->setObjectName(QStringLiteral("Edit"));
  edit_->setGeometry(16, 18, 225, 20);
  edit_->setEchoMode(QLineEdit::Password);
  auto* mask = new AsteriskMaskStyle;
  mask->setParent(edit_);
  edit_->setStyle(mask);
  connect(edit_, &QLineEdit::textChanged, this, [this] { EditChange(); });

  addButton_ = MakeButton(groupBox1_, QStringLiteral("&Add"), {16, 46, 65, 25});
  removeButton_ = MakeButton(groupBox1_, QStringLiteral("&Remove"), {88, 46, 65, 25});
  removeAllButton_ = MakeButton(groupBox1_, QStringLiteral("Re&move all"), {160, 46, 81, 25});
  okButton_ = MakeButton(this, QStringLiteral("&OK"), {109, 98, 75, 25});
  cancelButton_ = MakeButton(this, QStringLiteral("Cancel"), {190, 98, 75, 25});
  addButton_->setObjectName(QStringLiteral("AddButton"));
  removeButton_->setObjectName(QStringLiteral("RemoveButton"));
  removeAllButton_->setObjectName(QStringLiteral("RemoveAllButton"));
  okButton_->setObjectName(QStringLiteral("OKButton"));
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  okButton_->setDefault(true);

  connect(addButton_, &QPushButton::clicked, this, [this] { AddButtonClick(); });
  connect(removeButton_, &QPushButton::clicked, this, [this] { RemoveButtonClick(); });
  connect(removeAllButton_, &QPushButton::clicked, this, [this] { RemoveAllButtonClick(); });
  connect(okButton_, &QPushButton::clicked, this, [this] { OKButtonClick(); });
  // Escape and the close box reject the dialog too.
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  setTabOrder(edit_, addButton_);
  setTabOrder(addButton_, removeButton_);
  setTabOrder(removeButton_, removeAllButton_);
  setTabOrder(removeAllButton_, okButton_);
  setTabOrder(okButton_, cancelButton_);
  edit_->setFocus();
}

void TPasswordDialog::EditChange() {
  const bool hasText = !edit_->text().isEmpty();
  addButton_->setEnabled(hasText);
  removeButton_->setEnabled(hasText);
  okButton_->setEnabled(hasText || passwordAdded_);
}

void TPasswordDialog::RefocusEdit() {
  edit_->setFocus(Qt::OtherFocusReason);
}

void TPasswordDialog::AddButtonClick() {
  const QString password = edit_->text();
  session_.AddPassword(password.toStdString());
  if (!password.isEmpty()) passwordAdded_ = true;
  edit_->clear();
  EditChange();  // Also when the box was already empty.
  RefocusEdit();
}

void TPasswordDialog::RemoveButtonClick() {
  session_.RemovePassword(edit_->text().toStdString());
  edit_->clear();
  RefocusEdit();
}

void TPasswordDialog::RemoveAllButtonClick() {
  session_.RemoveAllPasswords();
  RefocusEdit();
}

void TPasswordDialog::OKButtonClick() {
  // A password the session refuses leaves the dialog open with its error.
  if (!edit_->text().isEmpty()) session_.AddPassword(edit_->text().toStdString());
  accept();
}

void TPasswordDialog::setVisible(bool visible) {
  if (visible && !placed_) {
    // Centred on the screen, not on whichever window happens to be active.
    placed_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->geometry();
      move(area.left() + std::max(0, (area.width() - width()) / 2),
           area.top() + std::max(0, (area.height() - height()) / 2));
    }
  }
  QDialog::setVisible(visible);
}

}  // namespace pellory::data
