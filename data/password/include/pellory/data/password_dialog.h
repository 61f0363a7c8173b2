// TPasswordDialog "Enter password": asked when a table needs a password the
// session does not hold. Its buttons add and remove the session's passwords
// at once; "&OK" also adds what the box holds and lets the open try again.
#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace pellory::data {

class TSession;

class TPasswordDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TPasswordDialog(TSession& session, QWidget* parent = nullptr);

  QGroupBox* GroupBox1() const { return groupBox1_; }
  QLineEdit* Edit() const { return edit_; }
  QPushButton* AddButton() const { return addButton_; }
  QPushButton* RemoveButton() const { return removeButton_; }
  QPushButton* RemoveAllButton() const { return removeAllButton_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  // Whether "&Add" has handed a password to the session in this dialog.
  bool PasswordAdded() const { return passwordAdded_; }

  // Enables the buttons that need text in the box, and "&OK" also once a
  // password has been added.
  void EditChange();
  void AddButtonClick();
  void RemoveButtonClick();
  void RemoveAllButtonClick();
  void OKButtonClick();

 protected:
  void setVisible(bool visible) override;

 private:
  void BuildControls();
  QPushButton* MakeButton(QWidget* parent, const QString& caption, QRect geometry);
  void RefocusEdit();

  TSession& session_;
  QGroupBox* groupBox1_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* addButton_ = nullptr;
  QPushButton* removeButton_ = nullptr;
  QPushButton* removeAllButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool passwordAdded_ = false;
  bool placed_ = false;
};

}  // namespace pellory::data
