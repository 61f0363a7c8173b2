// The main window "Font search": the record view of the catalogue, the
// record navigator, the category buttons, the status line and the menu.
#pragma once

#include "app/stored_window.h"

namespace pellory::ui {

class CaptionLabel;
class MenuCommand;
class TBevel;
class TButton;
class TDBEdit;
class TDBImage;
class TDBMemo;
class TDBNavigator;

class TForm2 : public app::StoredWindow {
  Q_OBJECT
 public:
  TForm2();

  QString ClassName() const override { return QStringLiteral("TForm2"); }

  // Creation handler: opens the catalogue.
  void FormCreate();
  // File, "E&xit": closes the window, which ends the program.
  void Exit1Click();
  // Views, "&All fonts", Views, "&Grid", Help, "&Contents", Help, "&About":
  // their windows and the help engine arrive later; they do nothing yet.
  void Allfonts1Click() {}
  void Grid1Click() {}
  void Contents1Click() {}
  void About1Click() {}

  TBevel* Bevel1() const;
  CaptionLabel* Label(int number) const;  // Label1 to Label7
  TDBNavigator* DBNavigator1() const;
  TDBEdit* DBEdit1() const;
  TDBEdit* DBEdit2() const;
  TDBImage* DBImage1() const;
  TDBMemo* DBMemo1() const;
  TButton* Button(int number) const;  // Button1 to Button10, no Button8
  MenuCommand* MenuItem(const QString& name) const;

 protected:
  // Where FormCreate opens the catalogue; an error raised here goes to the
  // error display and the window still opens in its construction state.
  virtual void OpenCatalogue() {}
};

}  // namespace pellory::ui
