#include "pellory/data/datalink.h"

#include <algorithm>

#include "pellory/data/dataset.h"
#include "pellory/data/datasource.h"
#include "pellory/data/errors.h"
#include "pellory/data/field.h"

namespace pellory::data {

TDataLink::~TDataLink() {
  if (dataSource_ == nullptr) return;
  TDataSource* source = dataSource_;
  dataSource_ = nullptr;
  source->DetachLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  if (dataSource_ != nullptr) {
    TDataSource* old = dataSource_;
    dataSource_ = nullptr;
    old->DetachLink(this);
  }
  dataSource_ = source;
  if (dataSource_ != nullptr) dataSource_->AttachLink(this);
}

TDataSet* TDataLink::DataSet() const {
  return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetBufferCount(int count) {
  count = std::max(count, 1);
  if (count == bufferCount_) return;
  bufferCount_ = count;
  TDataSet* dataSet = DataSet();
  if (active_ && dataSet != nullptr) {
    dataSet->UpdateWindowSize();
    // Records read backward while the window grew raise every link's first
    // index; this link's rows must still fall inside the window.
    ClampFirstRecord();
  }
}

void TDataLink::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  UpdateActiveAndEditing();
}

int TDataLink::ActiveRecord() const {
  const TDataSet* dataSet = DataSet();
  return active_ && dataSet != nullptr ? dataSet->ActiveRecordIndex() - firstRecord_ : 0;
}

int TDataLink::RecordCount() const {
  const TDataSet* dataSet = DataSet();
  return active_ && dataSet != nullptr ? std::min(bufferCount_, dataSet->RecordCountInWindow()) : 0;
}

void TDataLink::SetActiveRecord(int row) {
  TDataSet* dataSet = DataSet();
  if (!active_ || dataSet == nullptr) return;
  dataSet->SetActiveRecordIndex(firstRecord_ + row);
}

void TDataLink::ClampFirstRecord() {
  const TDataSet* dataSet = DataSet();
  if (dataSet == nullptr) return;
  const int active = dataSet->ActiveRecordIndex();
  const int low = std::max(0, active - bufferCount_ + 1);
  const int high = std::max(0, std::min(active, dataSet->WindowSize() - bufferCount_));
  firstRecord_ = std::min(std::max(firstRecord_, low), high);
}

void TDataLink::UpdateActiveAndEditing() {
  const DataSetState state = dataSource_ != nullptr ? dataSource_->State() : DataSetState::Inactive;
  const bool active = state != DataSetState::Inactive;
  const bool editing = (state == DataSetState::Edit || state == DataSetState::Insert) && !readOnly_;
  if (active != active_) {
    if (active)
      ClampFirstRecord();
    else
      firstRecord_ = 0;
    active_ = active;
    HandleActiveState();
  }
  if (editing != editing_) {
    editing_ = editing;
    HandleEditing();
  }
}

int TDataLink::ShiftInto(int distance) {
  const int first = firstRecord_ + distance;
  const int last = first + bufferCount_ - 1;
  const int active = DataSet()->ActiveRecordIndex();
  const int shift = active > last ? active - last : active < first ? active - first : 0;
  firstRecord_ = first + shift;
  return shift;
}

void TDataLink::ReceiveEvent(DataEvent event, int distance, TField* field) {
  if (event == DataEvent::UpdateState) {
    UpdateActiveAndEditing();
    return;
  }
  if (!active_ || DataSet() == nullptr) return;
  switch (event) {
    case DataEvent::DataSetChanged:
      ShiftInto(0);
      HandleDataChange();
      break;
    case DataEvent::DataSetScrolled:
      HandleScroll(ShiftInto(distance));
      break;
    case DataEvent::LayoutChanged:
      ShiftInto(0);
      HandleLayout();
      break;
    case DataEvent::FieldChanged:
    case DataEvent::RecordChanged:
      if (!updating_) HandleRecordChange(field);
      break;
    case DataEvent::UpdateRecord:
      HandleUpdateData();
      break;
    case DataEvent::CheckBrowse:
      HandleCheckBrowse();
      break;
    case DataEvent::FocusControl:
      HandleFocus(field);
      break;
    case DataEvent::UpdateState:
      break;
  }
}

// --- TFieldDataLink --------------------------------------------------------

TFieldDataLink::TFieldDataLink() {
  SetVisualControl(true);
}

void TFieldDataLink::SetFieldName(std::string name) {
  if (name == fieldName_) return;
  fieldName_ = std::move(name);
  LookUpField();
  HandleRecordChange(field_);
}

bool TFieldDataLink::Edit() {
  if (ReadOnly() || field_ == nullptr || !field_->CanModify()) return false;
  DataSet()->Edit();
  return Editing();
}

void TFieldDataLink::LookUpField() {
  field_ = nullptr;
  TDataSet* dataSet = DataSet();
  if (!Active() || dataSet == nullptr || fieldName_.empty()) return;
  field_ = dataSet->FindField(fieldName_);
  if (field_ == nullptr)
    DatabaseError(FormatMessage("Field '%s' not found", {fieldName_}), controlName_);
}

void TFieldDataLink::HandleActiveState() {
  LookUpField();
  HandleRecordChange(field_);
}

void TFieldDataLink::HandleEditing() {
  if (EditingChange) EditingChange();
}

void TFieldDataLink::HandleLayout() {
  LookUpField();
  HandleDataChange();
}

void TFieldDataLink::HandleRecordChange(TField* field) {
  if ((field == nullptr || field == field_) && RereadField) RereadField(field_);
}

void TFieldDataLink::HandleFocus(TField* field) {
  if (field != nullptr && field == field_ && FocusField) FocusField(field);
}

}  // namespace pellory::data
