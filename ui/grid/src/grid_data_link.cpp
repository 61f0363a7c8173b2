#include "grid_data_link.h"

#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

void TwwGridDataLink::HandleActiveState() {
  grid_.LinkActiveChanged();
}

void TwwGridDataLink::HandleDataChange() {
  grid_.LinkDataChanged();
}

void TwwGridDataLink::HandleScroll(int distance) {
  grid_.LinkScrolled(distance);
}

void TwwGridDataLink::HandleLayout() {
  grid_.LayoutChanged();
}

}  // namespace pellory::ui
