#include "catalogue_window.h"

#include "gui_helpers.h"
#include "pellory/data/session.h"

namespace cataloguetest {

void CatalogueWindow::Open(const std::vector<Font>& fonts, bool withSample) {
  catalogue_ = std::make_unique<TestCatalogue>(fonts, withSample);
  form = app->CreateForm<pellory::ui::TForm2>();
  form->show();
  guitest::pump();
}

void CatalogueWindow::TearDown() {
  ShellTest::TearDown();
  pellory::data::Session.Stop();
  catalogue_.reset();
}

}  // namespace cataloguetest
