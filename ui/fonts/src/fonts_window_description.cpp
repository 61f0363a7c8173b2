#include "pellory/ui/fonts/fonts_window_description.h"

#include "pellory/shell/component_classes.h"
#include "pellory/shell/description_registry.h"
#include "pellory/ui/controls/common_classes.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"

namespace pellory::ui {

namespace {

using shell::ComponentDescription;
using shell::HandlerRef;

ComponentDescription MainMenu() {
  return {"TMainMenu",
          "MainMenu1",
          {{"Left", 400}, {"Top", 8}},
          {{"MenuCommand",
            "File1",
            {{"Caption", QStringLiteral("&File")}},
            {{"MenuCommand",
              "Exit1",
              {{"Caption", QStringLiteral("&Return to main")},
               {"HelpContext", 1800},
               {"OnClick", HandlerRef{"Exit1Click"}}},
              {}}}}}};
}

std::vector<ComponentDescription> Components() {
  return {
      {"CaptionLabel", "Label1", {{"Left", 24}, {"Top", 336}, {"Width", 3}, {"Height", 13}}, {}},
      {"TBevel",
       "Bevel1",
       {{"Left", 8},
        {"Top", 8},
        {"Width", 441},
        {"Height", 329},
        {"Shape", QStringLiteral("bsBox")},
        {"Style", QStringLiteral("bsLowered")}},
       {}},
      {"TRadioGroup",
       "RadioGroup1",
       {{"Left", 323},
        {"Top", 216},
        {"Width", 113},
        {"Height", 105},
        {"HelpContext", 1600},
        {"Hint", QStringLiteral("Select display ")},
        {"Caption", QStringLiteral("&Font Type")},
        {"ItemIndex", 0},
        {"Items", QStringList{"&Screen", "&Printer", "&Both"}},
        {"TabOrder", 0},
        {"OnClick", HandlerRef{"RadioGroup1Click"}}},
       {}},
      {"TGLFontListBox",
       "GLFontListBox1",
       {{"Left", 24},
        {"Top", 24},
        {"Width", 281},
        {"Height", 305},
        {"SelectedFont", QStringLiteral("<none>")},
        {"TabOrder", 1}},
       {}},
      MainMenu(),
  };
}

}  // namespace

shell::WindowDescription FontsWindowDescription() {
  return {"TForm1",
          "Form1",
          {{"Left", 232},
           {"Top", 70},
           {"Width", 471},
           {"Height", 414},
           {"Caption", QStringLiteral("Master installed font display")},
           {"Color", QStringLiteral("clBtnFace")},
           {"Font.Charset", 1},
           {"Font.Color", QStringLiteral("clWindowText")},
           {"Font.Height", -11},
           {"Font.Name", QStringLiteral("MS Sans Serif")},
           {"Font.Style", 0},
           {"Menu", QStringLiteral("MainMenu1")},
           {"OldCreateOrder", true},
           {"Position", QStringLiteral("poScreenCenter")},
           {"ShowHint", true},
           {"PixelsPerInch", 96},
           {"TextHeight", 13}},
          Components()};
}

void RegisterFontsWindow() {
  RegisterCommonClasses();
  shell::ComponentClasses::Register<TRadioGroup>("TRadioGroup");
  shell::ComponentClasses::Register<TGLFontListBox>("TGLFontListBox");
  if (!shell::DescriptionRegistry::Contains(QStringLiteral("TForm1")))
    shell::DescriptionRegistry::Register(FontsWindowDescription());
}

}  // namespace pellory::ui
