#include "pellory/ui/grid/tform3.h"

#include "pellory/data/catalogue.h"
#include "pellory/data/session.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/grid/described_cursor.h"
#include "pellory/ui/grid/grid_window_description.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

TForm3::TForm3() {
  RegisterGridWindow();
  RegisterHandler(QStringLiteral("FormCreate"), [this] { FormCreate(); });
  RegisterHandler(QStringLiteral("Exit1Click"), [this] { Exit1Click(); });
}

TForm3::~TForm3() {
  // The grid lets go of the data source before the cursor closes.
  if (TwwDBGrid* grid = wwDBGrid1()) grid->SetDataSource(nullptr);
}

void TForm3::FormCreate() {
  data::Session.AddPassword(std::string(data::kCataloguePassword));
  if (data::TwwTable* table = wwTable1()) table->Open();
}

void TForm3::Exit1Click() {
  Close();
}

TwwDBGrid* TForm3::wwDBGrid1() const {
  return Component<TwwDBGrid>(QStringLiteral("wwDBGrid1"));
}

data::TwwDataSource* TForm3::wwDataSource1() const {
  auto* source = Component<DescribedDataSource>(QStringLiteral("wwDataSource1"));
  return source ? &source->Source() : nullptr;
}

data::TwwTable* TForm3::wwTable1() const {
  auto* table = Component<DescribedTable>(QStringLiteral("wwTable1"));
  return table ? &table->Table() : nullptr;
}

MenuCommand* TForm3::MenuItem(const QString& name) const {
  return Component<MenuCommand>(name);
}

}  // namespace pellory::ui
