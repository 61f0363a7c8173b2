#include "pellory/data/datasource.h"

#include <algorithm>

#include "pellory/data/datalink.h"
#include "pellory/data/dataset.h"

namespace pellory::data {

TDataSource::~TDataSource() {
  for (TDataLink* link : std::vector<TDataLink*>(links_)) link->SetDataSource(nullptr);
  if (dataSet_ != nullptr) dataSet_->DetachDataSource(this);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->DetachDataSource(this);
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) dataSet_->AttachDataSource(this);
  UpdateState();
}

void TDataSource::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateState();
}

void TDataSource::AttachLink(TDataLink* link) {
  links_.push_back(link);
  if (dataSet_ != nullptr) dataSet_->UpdateWindowSize();
  link->UpdateActiveAndEditing();
}

void TDataSource::DetachLink(TDataLink* link) {
  std::erase(links_, link);
  link->UpdateActiveAndEditing();
  if (dataSet_ != nullptr) dataSet_->UpdateWindowSize();
}

void TDataSource::UpdateState() {
  const DataSetState state =
      enabled_ && dataSet_ != nullptr ? dataSet_->State() : DataSetState::Inactive;
  if (state == state_) return;
  const DataSetState previous = state_;
  state_ = state;
  TellLinks(DataEvent::UpdateState, 0, nullptr);
  if (OnStateChange) OnStateChange(*this);
  if (previous == DataSetState::Inactive && OnDataChange) OnDataChange(*this, nullptr);
}

void TDataSource::ReceiveEvent(DataEvent event, int distance, TField* field) {
  if (event == DataEvent::UpdateState) {
    UpdateState();
    return;
  }
  if (state_ == DataSetState::Inactive) return;
  TellLinks(event, distance, field);
  switch (event) {
    case DataEvent::FieldChanged:
      if (OnDataChange) OnDataChange(*this, field);
      break;
    case DataEvent::RecordChanged:
    case DataEvent::DataSetChanged:
    case DataEvent::DataSetScrolled:
    case DataEvent::LayoutChanged:
      if (OnDataChange) OnDataChange(*this, nullptr);
      break;
    case DataEvent::UpdateRecord:
      if (OnUpdateData) OnUpdateData(*this);
      break;
    default:
      break;
  }
}

// Links without a visual control first, then the others; in each group the
// most recently attached first.
void TDataSource::TellLinks(DataEvent event, int distance, TField* field) {
  const std::vector<TDataLink*> snapshot(links_);
  for (bool visual : {false, true}) {
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
      TDataLink* link = *it;
      if (link->VisualControl() != visual) continue;
      // A handler may have detached (and destroyed) a later link.
      if (std::find(links_.begin(), links_.end(), link) == links_.end()) continue;
      link->ReceiveEvent(event, distance, field);
    }
  }
}

}  // namespace pellory::data
