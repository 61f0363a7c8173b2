// The picture grid's link to its data source: a view of as many
// consecutive records as the grid has data rows. Every notification is
// handed to the grid.
#pragma once

#include "pellory/data/datalink.h"

namespace pellory::ui {

class TwwDBGrid;

class TwwGridDataLink : public data::TDataLink {
 public:
  explicit TwwGridDataLink(TwwDBGrid& grid) : grid_(grid) {}

 protected:
  void HandleActiveState() override;
  void HandleDataChange() override;
  void HandleScroll(int distance) override;
  void HandleLayout() override;

 private:
  TwwDBGrid& grid_;
};

}  // namespace pellory::ui
