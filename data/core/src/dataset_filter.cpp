// The cursor's filter state: Filter, Filtered and FilterOptions, and how a
// change moves the cursor. A failing change leaves everything as it was.
#include "pellory/data/dataset.h"

namespace pellory::data {

void TDataSet::MoveToStartUnchecked() {
  // The engine's answer does not matter here: First() positions again. The
  // window's idea of where the engine stands is stale either way.
  ForgetEnginePosition();
  try {
    GoToStart();
  } catch (...) {
  }
}

void TDataSet::ApplyOrRecompile() {
  if (filterHandle_ == nullptr || ApplyFilter(filterHandle_, false)) return;
  // The engine refused the registered filter: register it afresh, and this
  // time let a failure through.
  DropFilter(filterHandle_);
  filterHandle_ = nullptr;
  filterHandle_ = RegisterFilter(filterText_, filterOptions_);
  if (filterHandle_ != nullptr) ApplyFilter(filterHandle_, true);
}

void TDataSet::SetFiltered(bool filtered) {
  if (!opened_) {
    filtered_ = filtered;
    return;
  }
  SendEvent(DataEvent::CheckBrowse);
  if (filtered != filtered_) {
    MoveToStartUnchecked();
    if (filtered)
      ApplyOrRecompile();
    else if (filterHandle_ != nullptr)
      LiftFilter(filterHandle_);
    filtered_ = filtered;
  }
  First();
}

void TDataSet::SetFilter(const std::string& text) {
  ChangeFilter(text, filterOptions_);
}

void TDataSet::SetFilterOptions(TFilterOptions options) {
  ChangeFilter(filterText_, options);
}

void TDataSet::ChangeFilter(const std::string& text, TFilterOptions options) {
  if (!opened_) {
    filterText_ = text;
    filterOptions_ = options;
    return;
  }
  SendEvent(DataEvent::CheckBrowse);
  if (text != filterText_ || !(options == filterOptions_)) {
    // Compiling first: a text that does not compile changes nothing.
    FilterHandle replacement = text.empty() ? nullptr : RegisterFilter(text, options);
    if (filtered_) MoveToStartUnchecked();
    if (filterHandle_ != nullptr) DropFilter(filterHandle_);
    filterHandle_ = replacement;
    if (filtered_ && filterHandle_ != nullptr) ApplyFilter(filterHandle_, false);
  }
  filterText_ = text;
  filterOptions_ = options;
  if (filtered_) First();
}

void TDataSet::RegisterStoredFilter() {
  filterHandle_ = filterText_.empty() ? nullptr : RegisterFilter(filterText_, filterOptions_);
  if (filtered_) ApplyOrRecompile();
}

}  // namespace pellory::data
