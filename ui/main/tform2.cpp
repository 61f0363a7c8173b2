#include "ui/main/tform2.h"

#include "ui/common/caption_label.h"
#include "ui/common/menu_command.h"
#include "ui/common/tbevel.h"
#include "ui/common/tbutton.h"
#include "ui/main/main_window_description.h"
#include "ui/main/tdbedit.h"
#include "ui/main/tdbimage.h"
#include "ui/main/tdbmemo.h"
#include "ui/main/tdbnavigator.h"

namespace pellory::ui {

TForm2::TForm2() {
  RegisterMainWindow();
  RegisterHandler(QStringLiteral("FormCreate"), [this] { FormCreate(); });
  RegisterHandler(QStringLiteral("Exit1Click"), [this] { Exit1Click(); });
  RegisterHandler(QStringLiteral("Allfonts1Click"), [this] { Allfonts1Click(); });
  RegisterHandler(QStringLiteral("Grid1Click"), [this] { Grid1Click(); });
  RegisterHandler(QStringLiteral("Contents1Click"), [this] { Contents1Click(); });
  RegisterHandler(QStringLiteral("About1Click"), [this] { About1Click(); });
}

void TForm2::FormCreate() {
  OpenCatalogue();
}

void TForm2::Exit1Click() {
  Close();
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
