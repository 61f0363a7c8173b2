#include "pellory/ui/about/about_box_description.h"

#include "pellory/shell/component_classes.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/about/tbitbtn.h"
#include "pellory/ui/about/timage.h"
#include "pellory/ui/about/tpanel.h"
#include "pellory/ui/controls/common_classes.h"

namespace pellory::ui {

namespace {

using shell::ComponentDescription;
using Props = std::vector<shell::StoredProperty>;

constexpr int kBold = 1;

// The maker's own texts.
constexpr const char* kRights = "Copyright \u00A9 1999 Tessaline Software";
constexpr const char* kWebSite = "Visit tessaline.example.org";

Props Place(int left, int top, int width, int height, Props more = {}) {
  Props props{{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
  props.insert(props.end(), more.begin(), more.end());
  return props;
}

// The labels' and the button's font: 8 points at 96 pixels per inch, bold.
Props BoldFont() {
  return {{"Font.Charset", 1},   {"Font.Color", QStringLiteral("clBlack")},
          {"Font.Height", -11},  {"Font.Name", QStringLiteral("MS Sans Serif")},
          {"Font.Style", kBold}, {"ParentFont", false}};
}

ComponentDescription Label(const char* name, int left, int top, int width, int height,
                           const char* caption, Props more = {}) {
  Props props = Place(left, top, width, height, {{"Caption", QString::fromUtf8(caption)}});
  const Props font = BoldFont();
  props.insert(props.end(), font.begin(), font.end());
  props.insert(props.end(), more.begin(), more.end());
  return {"CaptionLabel", name, props, {}};
}

ComponentDescription Panel() {
  return {"TPanel",
          "Panel1",
          Place(8, 8, 305, 161,
                {{"BevelInner", QStringLiteral("bvRaised")},
                 {"BevelOuter", QStringLiteral("bvLowered")},
                 {"Caption", QString()},
                 {"ParentColor", true},
                 {"TabOrder", 0}}),
          {{"TImage",
            "ProgramIcon",
            Place(48, 16, 65, 57,
                  {{"Picture.Icon", QStringLiteral("PROGRAM_ICON")}, {"Stretch", true}}),
            {}},
           Label("ProductName", 88, 16, 195, 13, "Carvelle- Bonus Fonts"),
           Label("Version", 88, 40, 65, 13, "Version 2.0"),
           Label("Copyright", 8, 80, 192, 13, kRights),
           Label("Comments", 8, 104, 207, 13, kWebSite, {{"WordWrap", true}})}};
}

ComponentDescription OkButton() {
  Props props = Place(111, 178, 77, 27, {{"TabOrder", 1}});
  const Props font = BoldFont();
  props.insert(props.end(), font.begin(), font.end());
  props.insert(props.end(), {{"Kind", QStringLiteral("bkOK")}, {"Margin", 2}, {"Spacing", -1}});
  return {"TBitBtn", "OKButton", props, {}};
}

}  // namespace

shell::WindowDescription AboutBoxDescription() {
  return {"TAboutBox",
          "AboutBox",
          {{"Left", 238},
           {"Top", 104},
           {"ActiveControl", QStringLiteral("OKButton")},
           {"BorderStyle", QStringLiteral("bsDialog")},
           {"Caption", QStringLiteral("About Pellory Fonts")},
           {"ClientHeight", 213},
           {"ClientWidth", 321},
           {"Color", QStringLiteral("clBtnFace")},
           {"Font.Charset", 1},
           {"Font.Color", QStringLiteral("clWindowText")},
           {"Font.Height", -13},
           {"Font.Name", QStringLiteral("System")},
           {"Font.Style", 0},
           {"OldCreateOrder", true},
           {"Position", QStringLiteral("poScreenCenter")},
           {"PixelsPerInch", 96},
           {"TextHeight", 16}},
          {Panel(), OkButton()}};
}

void RegisterAboutBox() {
  RegisterCommonClasses();
  shell::ComponentClasses::Register<TPanel>("TPanel");
  shell::ComponentClasses::Register<TImage>("TImage");
  shell::ComponentClasses::Register<TBitBtn>("TBitBtn");
  if (!shell::DescriptionRegistry::Contains(QStringLiteral("TAboutBox")))
    shell::DescriptionRegistry::Register(AboutBoxDescription());
}

}  // namespace pellory::ui
