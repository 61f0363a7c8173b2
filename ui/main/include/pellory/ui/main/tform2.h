// The main window "Font search": the record view of the catalogue, the
// record navigator, the category buttons, the status line and the menu.
#pragma once

#include <memory>

#include "pellory/shell/stored_window.h"

namespace pellory::data {
class TDataSource;
class TTable;
class TwwDataSource;
class TwwTable;
}  // namespace pellory::data

namespace pellory::ui {

class CaptionLabel;
class MenuCommand;
class TBevel;
class TButton;
class TDBEdit;
class TDBImage;
class TDBMemo;
class TDBNavigator;

class TForm2 : public shell::StoredWindow {
  Q_OBJECT
 public:
  TForm2();
  ~TForm2() override;

  QString ClassName() const override { return QStringLiteral("TForm2"); }

  // Creation handler: binds the record view to DataSource1 and opens the
  // catalogue.
  void FormCreate();
  // The category buttons: each switches the filter of Table1 off, sets its
  // filter text, switches it on and names the category in Label5;
  // Button10Click only switches the filter off.
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void Button9Click();
  void Button10Click();
  // File, "E&xit": closes the window, which ends the program.
  void Exit1Click();
  // Help, "&Contents" (also F1 anywhere in the window): the help contents.
  void Contents1Click();
  // Views, "&All fonts": the installed fonts window, opened modally.
  void Allfonts1Click();
  // Views, "&Grid": the grid window, opened modally.
  void Grid1Click();
  // Help, "&About": runs a fresh "TAboutBox" modally and releases it.
  void About1Click();

  TBevel* Bevel1() const;
  CaptionLabel* Label(int number) const;  // Label1 to Label7
  TDBNavigator* DBNavigator1() const;
  TDBEdit* DBEdit1() const;
  TDBEdit* DBEdit2() const;
  TDBImage* DBImage1() const;
  TDBMemo* DBMemo1() const;
  TButton* Button(int number) const;  // Button1 to Button10, no Button8
  MenuCommand* MenuItem(const QString& name) const;

  data::TTable& Table1() const { return *table1_; }
  data::TDataSource& DataSource1() const { return *dataSource1_; }
  data::TwwTable& wwTable1() const { return *wwTable1_; }

 protected:
  // Where FormCreate opens the catalogue: the password, the private
  // directory, Table1 made inactive then active, wwTable1, "All fonts". An
  // error stops it, goes to the error display, and the window still opens.
  virtual void OpenCatalogue();

 private:
  void DeclareFields();
  void BindControls();
  // The category of button `button` in the catalogue's definition.
  void ShowCategory(int button);

  std::unique_ptr<data::TTable> table1_;
  std::unique_ptr<data::TDataSource> dataSource1_;
  std::unique_ptr<data::TwwTable> wwTable1_;
  std::unique_ptr<data::TwwDataSource> wwDataSource1_;
};

}  // namespace pellory::ui
