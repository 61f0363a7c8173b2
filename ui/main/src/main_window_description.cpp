#include "pellory/ui/main/main_window_description.h"

#include "pellory/data/catalogue.h"
#include "pellory/shell/component_classes.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/tglrunonce.h"
#include "pellory/ui/controls/common_classes.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"

namespace pellory::ui {

namespace {

using shell::ComponentDescription;
using shell::HandlerRef;
using shell::StoredProperty;
using Props = std::vector<StoredProperty>;

constexpr int kItalic = 2;

Props Place(int left, int top, int width, int height, Props more = {}) {
  Props props{{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
  props.insert(props.end(), more.begin(), more.end());
  return props;
}

Props OwnFont(const char* name, int height, int style = 0) {
  return {{"Font.Charset", 1},     {"Font.Color", QStringLiteral("clBlack")},
          {"Font.Height", height}, {"Font.Name", QString::fromLatin1(name)},
          {"Font.Style", style},   {"ParentFont", false}};
}

ComponentDescription Label(const char* name, int left, int top, int width, int height,
                           const QString& caption, Props font = {}) {
  Props props = Place(left, top, width, height, {{"Caption", caption}});
  props.insert(props.end(), font.begin(), font.end());
  return {"CaptionLabel", name, props, {}};
}

ComponentDescription Bound(const char* cls, const char* name, int left, int top, int width,
                           int height, const char* field, int tabOrder) {
  return {cls,
          name,
          Place(left, top, width, height,
                {{"DataField", QString::fromLatin1(field)},
                 {"DataSource", QStringLiteral("DataSource1")},
                 {"TabOrder", tabOrder}}),
          {}};
}

// The caption comes from the catalogue's definition of the button's category.
ComponentDescription CategoryButton(int number, int top, int height, int tabOrder, int help,
                                    Props font = {}) {
  const std::optional<data::CatalogueCategory> category = data::CategoryOfButton(number);
  const std::string_view caption = category ? category->caption : data::kAllFontsText;
  Props props = Place(496, top, 161, height,
                      {{"Caption", QString::fromLatin1(caption)},
                       {"HelpContext", help},
                       {"TabOrder", tabOrder},
                       {"OnClick", HandlerRef{QStringLiteral("Button%1Click").arg(number)}}});
  props.insert(props.end(), font.begin(), font.end());
  return {"TButton", QStringLiteral("Button%1").arg(number), props, {}};
}

ComponentDescription Item(const char* name, const char* caption, Props more = {},
                          std::vector<ComponentDescription> items = {}) {
  Props props{{"Caption", QString::fromLatin1(caption)}};
  props.insert(props.end(), more.begin(), more.end());
  return {"MenuCommand", name, props, std::move(items)};
}

ComponentDescription MainMenu() {
  return {"TMainMenu",
          "MainMenu1",
          {{"Left", 304}, {"Top", 16}},
          {Item("File1", "&File", {},
                {Item("Exit1", "E&xit", {{"OnClick", HandlerRef{"Exit1Click"}}})}),
           Item("Views1", "&Views", {},
                {Item("Allfonts1", "&All fonts",
                      {{"HelpContext", 1400},
                       {"ShortCut", 117},
                       {"OnClick", HandlerRef{"Allfonts1Click"}}}),
                 Item("Grid1", "&Grid",
                      {{"HelpContext", 1500},
                       {"ShortCut", 118},
                       {"OnClick", HandlerRef{"Grid1Click"}}})}),
           Item("Help1", "&Help", {},
                {Item("Contents1", "&Contents",
                      {{"ShortCut", 112}, {"OnClick", HandlerRef{"Contents1Click"}}}),
                 Item("About1", "&About", {{"OnClick", HandlerRef{"About1Click"}}})})}};
}

std::vector<ComponentDescription> Controls() {
  const Props times = OwnFont("Times New Roman", -12);
  const Props arial = OwnFont("Arial", -12);
  return {
      {"TBevel",
       "Bevel1",
       Place(8, 8, 473, 393,
             {{"Shape", QStringLiteral("bsBox")}, {"Style", QStringLiteral("bsLowered")}}),
       {}},
      Label("Label1", 16, 64, 72, 16, QStringLiteral("Font name:")),
      Label("Label2", 16, 304, 78, 16, QStringLiteral("Description:")),
      Label("Label3", 16, 160, 53, 16, QStringLiteral("Sample:")),
      Label("Label4", 8, 408, 110, 16, QStringLiteral("Present display: ")),
      Label("Label5", 136, 408, 35, 15, QStringLiteral("Label5"), OwnFont("Times New Roman", -13)),
      Label("Label6", 16, 104, 68, 16, QStringLiteral("File name:")),
      Label("Label7", 496, 8, 106, 16, QStringLiteral("Select Category:")),
      {"TDBNavigator",
       "DBNavigator1",
       Place(16, 16, 224, 33,
             {{"DataSource", QStringLiteral("DataSource1")},
              {"VisibleButtons", QStringList{"nbFirst", "nbPrior", "nbNext", "nbLast"}},
              {"Flat", false},
              {"Hints", QStringList{"First font", "Previous font", "Next font", "Last font"}},
              {"ParentShowHint", false},
              {"ShowHint", true},
              {"TabOrder", 0},
              {"TabStop", false},
              {"HelpContext", 1200}}),
       {}},
      Bound("TDBEdit", "DBEdit1", 104, 64, 233, 24, "Font Name", 1),
      Bound("TDBImage", "DBImage1", 104, 160, 360, 128, "Sample3", 2),
      Bound("TDBMemo", "DBMemo1", 104, 304, 361, 89, "Description", 3),
      CategoryButton(1, 32, 33, 4, 1000, times),
      CategoryButton(2, 72, 33, 5, 1000, arial),
      CategoryButton(3, 112, 33, 6, 1000),
      CategoryButton(4, 192, 33, 7, 1000, OwnFont("Times New Roman", -12, kItalic)),
      CategoryButton(5, 152, 33, 8, 1000, OwnFont("Arial", -12, kItalic)),
      CategoryButton(6, 232, 33, 9, 1000, times),
      CategoryButton(7, 272, 33, 10, 1000, arial),
      CategoryButton(9, 312, 33, 11, 1000),
      CategoryButton(10, 360, 41, 12, 1100),
      Bound("TDBEdit", "DBEdit2", 104, 104, 161, 24, "Filename", 13),
  };
}

}  // namespace

shell::WindowDescription MainWindowDescription() {
  std::vector<ComponentDescription> components = Controls();
  components.push_back(MainMenu());
  components.push_back({"TGLRunOnce",
                        "GLRunOnce1",
                        {{"AppName", QStringLiteral("Tessal 4")},
                         {"ErrorMessage", QStringLiteral("Font search is already running.")}},
                        {}});
  return {"TForm2",
          "Form2",
          {{"Left", 83},
           {"Top", 82},
           {"Width", 680},
           {"Height", 486},
           {"Caption", QStringLiteral("Font search")},
           {"Color", QStringLiteral("clBtnFace")},
           {"Font.Charset", 1},
           {"Font.Color", QStringLiteral("clWindowText")},
           {"Font.Height", -13},
           {"Font.Name", QStringLiteral("System")},
           {"Font.Style", 0},
           {"Menu", QStringLiteral("MainMenu1")},
           {"OldCreateOrder", true},
           {"Position", QStringLiteral("poScreenCenter")},
           {"OnCreate", HandlerRef{"FormCreate"}},
           {"PixelsPerInch", 96},
           {"TextHeight", 16}},
          std::move(components)};
}

void RegisterMainWindow() {
  RegisterCommonClasses();
  shell::ComponentClasses::Register<TDBNavigator>("TDBNavigator");
  shell::ComponentClasses::Register<TDBEdit>("TDBEdit");
  shell::ComponentClasses::Register<TDBImage>("TDBImage");
  shell::ComponentClasses::Register<TDBMemo>("TDBMemo");
  shell::ComponentClasses::Register<shell::TGLRunOnce>("TGLRunOnce");
  if (!shell::DescriptionRegistry::Contains(QStringLiteral("TForm2")))
    shell::DescriptionRegistry::Register(MainWindowDescription());
}

}  // namespace pellory::ui
