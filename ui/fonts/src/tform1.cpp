#include "pellory/ui/fonts/tform1.h"

#include "fonts_window_accessible.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/fonts/fonts_window_description.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"

namespace pellory::ui {

TForm1::TForm1() {
  RegisterFontsWindow();
  RegisterHandler(QStringLiteral("RadioGroup1Click"), [this] { RadioGroup1Click(); });
  RegisterHandler(QStringLiteral("Exit1Click"), [this] { Exit1Click(); });
  DescribeFontsWindow(*this);
}

void TForm1::RadioGroup1Click() {
  GLFontListBox1()->SetFontType(TFontType(RadioGroup1()->ItemIndex()));
  Label1()->SetCaption(QString::number(GLFontListBox1()->Count()) +
                       QStringLiteral(" fonts available"));
  NameFontList(*this);
}

void TForm1::Exit1Click() {
  Close();
}

CaptionLabel* TForm1::Label1() const {
  return Component<CaptionLabel>(QStringLiteral("Label1"));
}

TBevel* TForm1::Bevel1() const {
  return Component<TBevel>(QStringLiteral("Bevel1"));
}

TRadioGroup* TForm1::RadioGroup1() const {
  return Component<TRadioGroup>(QStringLiteral("RadioGroup1"));
}

TGLFontListBox* TForm1::GLFontListBox1() const {
  return Component<TGLFontListBox>(QStringLiteral("GLFontListBox1"));
}

MenuCommand* TForm1::Exit1() const {
  return Component<MenuCommand>(QStringLiteral("Exit1"));
}

}  // namespace pellory::ui
