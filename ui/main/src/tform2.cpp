#include "pellory/ui/main/tform2.h"

#include "pellory/data/blob_field.h"
#include "pellory/data/catalogue.h"
#include "pellory/data/datasource.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "pellory/platform/help_engine.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/main_window_description.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "record_view_accessible.h"

namespace pellory::ui {

namespace {

// Declares the catalogue field `name` on `cursor`, of its class and size.
void Declare(data::TDataSet& cursor, std::string_view name) {
  const std::optional<data::CatalogueField> field = data::FindCatalogueField(name);
  const std::string fieldName(field->name);
  switch (field->fieldClass) {
    case data::CatalogueFieldClass::String:
      cursor.AddField(std::make_unique<data::TStringField>(fieldName, field->size));
      break;
    case data::CatalogueFieldClass::Memo:
      cursor.AddField(std::make_unique<data::TMemoField>(fieldName, field->size));
      break;
    case data::CatalogueFieldClass::Graphic:
      cursor.AddField(std::make_unique<data::TGraphicField>(fieldName, field->size));
      break;
  }
}

void NameCursor(data::TTable& cursor, const char* name) {
  cursor.SetName(name);
  cursor.SetDatabaseName(std::string(data::kCatalogueAlias));
  cursor.SetTableName(std::string(data::kCatalogueTable));
}

}  // namespace

TForm2::TForm2()
    : table1_(std::make_unique<data::TTable>()),
      dataSource1_(std::make_unique<data::TDataSource>()),
      wwTable1_(std::make_unique<data::TwwTable>()),
      wwDataSource1_(std::make_unique<data::TwwDataSource>()) {
  InstallRecordViewAccessibility();
  DeclareFields();
  RegisterMainWindow();
  RegisterHandler(QStringLiteral("FormCreate"), [this] { FormCreate(); });
  RegisterHandler(QStringLiteral("Exit1Click"), [this] { Exit1Click(); });
  RegisterHandler(QStringLiteral("Allfonts1Click"), [this] { Allfonts1Click(); });
  RegisterHandler(QStringLiteral("Grid1Click"), [this] { Grid1Click(); });
  RegisterHandler(QStringLiteral("Contents1Click"), [this] { Contents1Click(); });
  RegisterHandler(QStringLiteral("About1Click"), [this] { About1Click(); });
  RegisterHandler(QStringLiteral("Button1Click"), [this] { Button1Click(); });
  RegisterHandler(QStringLiteral("Button2Click"), [this] { Button2Click(); });
  RegisterHandler(QStringLiteral("Button3Click"), [this] { Button3Click(); });
  RegisterHandler(QStringLiteral("Button4Click"), [this] { Button4Click(); });
  RegisterHandler(QStringLiteral("Button5Click"), [this] { Button5Click(); });
  RegisterHandler(QStringLiteral("Button6Click"), [this] { Button6Click(); });
  RegisterHandler(QStringLiteral("Button7Click"), [this] { Button7Click(); });
  RegisterHandler(QStringLiteral("Button9Click"), [this] { Button9Click(); });
  RegisterHandler(QStringLiteral("Button10Click"), [this] { Button10Click(); });
}

TForm2::~TForm2() {
  // The controls' links go before the data source they are attached to.
  for (BoundField* control :
       std::initializer_list<BoundField*>{DBEdit1(), DBEdit2(), DBImage1(), DBMemo1()})
    if (control) control->DataLink().SetDataSource(nullptr);
  if (DBNavigator1()) DBNavigator1()->Bind(nullptr);
}

void TForm2::DeclareFields() {
  NameCursor(*table1_, "Table1");
  table1_->SetReadOnly(true);
  for (const data::CatalogueField& field : data::kCatalogueFields) Declare(*table1_, field.name);
  table1_->SetFilter(std::string(data::kMainCursorFilter));
  table1_->SetFiltered(false);
  dataSource1_->SetDataSet(table1_.get());

  // The second cursor declares the same fields in an order of its own.
  NameCursor(*wwTable1_, "wwTable1");
  for (const char* name : {"Description", "Filename", "Font Name", "Category", "Sample3"})
    Declare(*wwTable1_, name);
  wwDataSource1_->SetDataSet(wwTable1_.get());
}

void TForm2::BindControls() {
  // In stored order; the data source then tells them in reverse order.
  DBNavigator1()->Bind(dataSource1_.get());
  DBEdit1()->Bind(dataSource1_.get(), DBEdit1()->objectName());
  DBImage1()->Bind(dataSource1_.get(), DBImage1()->objectName());
  DBMemo1()->Bind(dataSource1_.get(), DBMemo1()->objectName());
  DBEdit2()->Bind(dataSource1_.get(), DBEdit2()->objectName());
  CaptionRecordView(*this);
}

void TForm2::FormCreate() {
  BindControls();
  OpenCatalogue();
}

void TForm2::OpenCatalogue() {
  data::Session.AddPassword(std::string(data::kCataloguePassword));
  data::Session.SetPrivateDir("c:\\");
  table1_->SetActive(false);
  table1_->SetActive(true);
  wwTable1_->Open();
  Label(5)->SetCaption(QString::fromLatin1(data::kAllFontsText));
}

void TForm2::ShowCategory(int button) {
  const std::optional<data::CatalogueCategory> category = data::CategoryOfButton(button);
  table1_->SetFiltered(false);
  table1_->SetFilter(std::string(category->filter));
  table1_->SetFiltered(true);
  Label(5)->SetCaption(QString::fromLatin1(category->status));
}

void TForm2::Button1Click() {
  ShowCategory(1);
}
void TForm2::Button2Click() {
  ShowCategory(2);
}
void TForm2::Button3Click() {
  ShowCategory(3);
}
void TForm2::Button4Click() {
  ShowCategory(4);
}
void TForm2::Button5Click() {
  ShowCategory(5);
}
void TForm2::Button6Click() {
  ShowCategory(6);
}
void TForm2::Button7Click() {
  ShowCategory(7);
}
void TForm2::Button9Click() {
  ShowCategory(9);
}
void TForm2::Button10Click() {
  table1_->SetFiltered(false);
  Label(5)->SetCaption(QString::fromLatin1(data::kAllFontsText));
}

void TForm2::Exit1Click() {
  Close();
}

void TForm2::Contents1Click() {
  if (shell::TApplication* app = shell::TApplication::Instance())
    app->HelpCommand(platform::kHelpContents, 0);
}

void TForm2::Allfonts1Click() {
  if (auto* app = shell::TApplication::Instance()) app->RunModalWindow(QStringLiteral("TForm1"));
}

void TForm2::Grid1Click() {
  if (auto* app = shell::TApplication::Instance()) app->RunModalWindow(QStringLiteral("TForm3"));
}

void TForm2::About1Click() {
  if (auto* app = shell::TApplication::Instance()) app->RunModalWindow(QStringLiteral("TAboutBox"));
}

TBevel* TForm2::Bevel1() const {
  return Component<TBevel>(QStringLiteral("Bevel1"));
}

CaptionLabel* TForm2::Label(int number) const {
  return Component<CaptionLabel>(QStringLiteral("Label%1").arg(number));
}

TDBNavigator* TForm2::DBNavigator1() const {
  return Component<TDBNavigator>(QStringLiteral("DBNavigator1"));
}

TDBEdit* TForm2::DBEdit1() const {
  return Component<TDBEdit>(QStringLiteral("DBEdit1"));
}
TDBEdit* TForm2::DBEdit2() const {
  return Component<TDBEdit>(QStringLiteral("DBEdit2"));
}
TDBImage* TForm2::DBImage1() const {
  return Component<TDBImage>(QStringLiteral("DBImage1"));
}
TDBMemo* TForm2::DBMemo1() const {
  return Component<TDBMemo>(QStringLiteral("DBMemo1"));
}

TButton* TForm2::Button(int number) const {
  return Component<TButton>(QStringLiteral("Button%1").arg(number));
}

MenuCommand* TForm2::MenuItem(const QString& name) const {
  return Component<MenuCommand>(name);
}

}  // namespace pellory::ui
