#include "pellory/ui/grid/grid_window_description.h"

#include "pellory/data/catalogue.h"
#include "pellory/shell/component_classes.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/controls/common_classes.h"
#include "pellory/ui/grid/described_cursor.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

namespace {

using shell::ComponentDescription;
using shell::HandlerRef;
using shell::StoredProperty;
using Props = std::vector<StoredProperty>;

ComponentDescription Grid() {
  return {"TwwDBGrid",
          "wwDBGrid1",
          {{"Left", 8},
           {"Top", 0},
           {"Width", 585},
           {"Height", 425},
           {"Selected", QStringList{QStringLiteral("Font Name\t20\tFont Name"),
                                    QStringLiteral("Sample3\t120\tSample")}},
           {"TitleColor", QStringLiteral("clBtnFace")},
           {"FixedCols", 0},
           {"ShowHorzScrollBar", true},
           {"DataSource", QStringLiteral("wwDataSource1")},
           {"HelpContext", 1700},
           {"TabOrder", 0},
           {"TitleAlignment", QStringLiteral("taLeftJustify")},
           {"TitleFont.Charset", 1},
           {"TitleFont.Color", QStringLiteral("clWindowText")},
           {"TitleFont.Height", -13},
           {"TitleFont.Name", QStringLiteral("System")},
           {"TitleFont.Style", 0},
           {"TitleLines", 1},
           {"TitleButtons", false},
           {"IndicatorColor", QStringLiteral("icBlack")},
           {"RowHeightPercent", 643}},
          {}};
}

ComponentDescription Cursor() {
  return {"TwwTable",
          "wwTable1",
          {{"DatabaseName", QString::fromLatin1(data::kCatalogueAlias)},
           {"TableName", QString::fromLatin1(data::kCatalogueTable)},
           {"ReadOnly", true},
           {"ControlType", QStringList{QStringLiteral("Sample;Bitmap;Original Size;Source Copy"),
                                       QStringLiteral("Ads;CheckBox;True;False"),
                                       QStringLiteral("Sample3;Bitmap;Original Size;Source Copy")}},
           {"SyncSQLByRange", true},
           {"NarrowSearch", false},
           {"ValidateWithMask", true}},
          {}};
}

ComponentDescription Menu() {
  Props exit{{"Caption", QStringLiteral("&Return to main")},
             {"HelpContext", 1800},
             {"OnClick", HandlerRef{QStringLiteral("Exit1Click")}}};
  ComponentDescription file{"MenuCommand", "File1", {{"Caption", QStringLiteral("&File")}}, {}};
  file.children.push_back({"MenuCommand", "Exit1", exit, {}});
  return {"TMainMenu", "MainMenu1", {{"Left", 256}, {"Top", 432}}, {file}};
}

}  // namespace

shell::WindowDescription GridWindowDescription() {
  return {"TForm3",
          "Form3",
          {{"Left", 111},
           {"Top", 93},
           {"Width", 607},
           {"Height", 483},
           {"Caption", QStringLiteral("Font Display")},
           {"Color", QStringLiteral("clBtnFace")},
           {"Font.Charset", 1},
           {"Font.Color", QStringLiteral("clWindowText")},
           {"Font.Height", -13},
           {"Font.Name", QStringLiteral("System")},
           {"Font.Style", 0},
           {"Menu", QStringLiteral("MainMenu1")},
           {"OldCreateOrder", true},
           {"Position", QStringLiteral("poScreenCenter")},
           {"OnCreate", HandlerRef{QStringLiteral("FormCreate")}},
           {"PixelsPerInch", 96},
           {"TextHeight", 16}},
          {Grid(),
           {"TwwDataSource", "wwDataSource1", {{"DataSet", QStringLiteral("wwTable1")}}, {}},
           Cursor(),
           Menu()}};
}

void RegisterGridWindow() {
  RegisterCommonClasses();
  shell::ComponentClasses::Register<TwwDBGrid>("TwwDBGrid");
  shell::ComponentClasses::Register<DescribedDataSource>("TwwDataSource");
  shell::ComponentClasses::Register<DescribedTable>("TwwTable");
  if (!shell::DescriptionRegistry::Contains(QStringLiteral("TForm3")))
    shell::DescriptionRegistry::Register(GridWindowDescription());
}

}  // namespace pellory::ui
