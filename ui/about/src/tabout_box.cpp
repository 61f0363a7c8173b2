#include "pellory/ui/about/tabout_box.h"

#include "pellory/ui/about/about_box_description.h"
#include "pellory/ui/about/tbitbtn.h"
#include "pellory/ui/about/timage.h"
#include "pellory/ui/about/tpanel.h"
#include "pellory/ui/controls/caption_label.h"

namespace pellory::ui {

TAboutBox::TAboutBox() {
  RegisterAboutBox();
}

TPanel* TAboutBox::Panel1() const {
  return Component<TPanel>(QStringLiteral("Panel1"));
}
TImage* TAboutBox::ProgramIcon() const {
  return Component<TImage>(QStringLiteral("ProgramIcon"));
}
CaptionLabel* TAboutBox::ProductName() const {
  return Component<CaptionLabel>(QStringLiteral("ProductName"));
}
CaptionLabel* TAboutBox::Version() const {
  return Component<CaptionLabel>(QStringLiteral("Version"));
}
CaptionLabel* TAboutBox::Copyright() const {
  return Component<CaptionLabel>(QStringLiteral("Copyright"));
}
CaptionLabel* TAboutBox::Comments() const {
  return Component<CaptionLabel>(QStringLiteral("Comments"));
}
TBitBtn* TAboutBox::OKButton() const {
  return Component<TBitBtn>(QStringLiteral("OKButton"));
}

}  // namespace pellory::ui
