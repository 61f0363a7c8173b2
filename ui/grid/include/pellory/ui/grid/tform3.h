// The grid window "Font Display": every catalogue font beside its sample
// picture, through a cursor of its own, so that moving in the grid never
// moves the main window's record.
#pragma once

#include "pellory/shell/stored_window.h"

namespace pellory::data {
class TwwDataSource;
class TwwTable;
}  // namespace pellory::data

namespace pellory::ui {

class MenuCommand;
class TwwDBGrid;

class TForm3 : public shell::StoredWindow {
  Q_OBJECT
 public:
  TForm3();
  ~TForm3() override;

  QString ClassName() const override { return QStringLiteral("TForm3"); }

  // Creation handler: gives the session the catalogue's password and opens
  // wwTable1. An error goes to the error display and the grid stays empty.
  void FormCreate();
  // File, "&Return to main": ends the modal run with result 2.
  void Exit1Click();

  TwwDBGrid* wwDBGrid1() const;
  data::TwwDataSource* wwDataSource1() const;
  data::TwwTable* wwTable1() const;
  MenuCommand* MenuItem(const QString& name) const;
};

}  // namespace pellory::ui
