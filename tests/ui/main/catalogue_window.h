// A main window opened on a small catalogue written for the test.
#pragma once

#include <memory>
#include <vector>

#include "pellory/ui/main/tform2.h"
#include "shell_test_support.h"
#include "test_catalogue.h"

namespace cataloguetest {

class CatalogueWindow : public shelltest::ShellTest {
 protected:
  void TearDown() override;
  // Writes the catalogue, points the engine at it and opens the window.
  void Open(const std::vector<Font>& fonts, bool withSample = true);

  std::unique_ptr<TestCatalogue> catalogue_;
  pellory::ui::TForm2* form = nullptr;
};

}  // namespace cataloguetest
