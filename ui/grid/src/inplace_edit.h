// The in-place editor: a frameless line editor lying over the current text
// cell. On a cursor that cannot be modified it takes no change; its text
// can still be selected and copied. The keys that move through the records
// or close it act on the grid.
#pragma once

#include <QLineEdit>

namespace pellory::ui {

class TwwDBGrid;

class TwwInplaceEdit : public QLineEdit {
 public:
  TwwInplaceEdit(TwwDBGrid& grid, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  TwwDBGrid& grid_;
};

}  // namespace pellory::ui
