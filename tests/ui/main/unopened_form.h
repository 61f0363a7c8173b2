// The main window as constructed, before any catalogue is opened.
#pragma once

#include "pellory/ui/main/tform2.h"

namespace maintest {

class UnopenedForm : public pellory::ui::TForm2 {
 protected:
  void OpenCatalogue() override {}
};

}  // namespace maintest
