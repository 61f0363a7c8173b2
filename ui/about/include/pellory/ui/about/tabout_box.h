// The About box "About Pellory Fonts": the product's name, version, rights
// and web site beside the program's icon, and an OK button. It has no
// handlers of its own; the OK button's kind and the window's border do
// everything.
#pragma once

#include "pellory/shell/stored_window.h"

namespace pellory::ui {

class CaptionLabel;
class TBitBtn;
class TImage;
class TPanel;

class TAboutBox : public shell::StoredWindow {
  Q_OBJECT
 public:
  TAboutBox();

  QString ClassName() const override { return QStringLiteral("TAboutBox"); }

  TPanel* Panel1() const;
  TImage* ProgramIcon() const;
  CaptionLabel* ProductName() const;
  CaptionLabel* Version() const;
  CaptionLabel* Copyright() const;
  CaptionLabel* Comments() const;
  TBitBtn* OKButton() const;
};

}  // namespace pellory::ui
