// The window "Master installed font display": the installed fonts in a
// font list, a choice of screen, printer or both, and how many are listed.
#pragma once

#include "pellory/shell/stored_window.h"

namespace pellory::ui {

class CaptionLabel;
class MenuCommand;
class TBevel;
class TGLFontListBox;
class TRadioGroup;

class TForm1 : public shell::StoredWindow {
  Q_OBJECT
 public:
  TForm1();

  QString ClassName() const override { return QStringLiteral("TForm1"); }

  // The font type follows the checked choice; Label1 then gives the count.
  void RadioGroup1Click();
  // File, "&Return to main": closes the window, ending its modal run.
  void Exit1Click();

  CaptionLabel* Label1() const;
  TBevel* Bevel1() const;
  TRadioGroup* RadioGroup1() const;
  TGLFontListBox* GLFontListBox1() const;
  MenuCommand* Exit1() const;
};

}  // namespace pellory::ui
