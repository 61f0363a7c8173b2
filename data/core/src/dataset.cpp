#include "pellory/data/dataset.h"

#include <algorithm>
#include <exception>

#include "pellory/data/datalink.h"
#include "pellory/data/datasource.h"
#include "pellory/data/errors.h"
#include "pellory/data/field.h"

namespace pellory::data {

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
  // Sources outlive nothing of ours: they forget us, their links go inactive.
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) source->SetDataSet(nullptr);
  for (TField* field : fieldList_) field->dataSet_ = nullptr;
}

void TDataSet::SetActive(bool value) {
  if (value == Active()) return;
  if (value)
    DoOpen();
  else
    DoClose();
}

void TDataSet::DoOpen() {
  if (BeforeOpen) BeforeOpen(*this);
  try {
    OpenCursor();
    opened_ = true;
    ResizeWindow(WantedWindowSize());
    bof_ = true;
  } catch (...) {
    opened_ = false;
    buffers_.clear();
    windowSize_ = 0;
    ClearWindow();
    CloseCursor();
    if (AfterClose) AfterClose(*this);
    throw;
  }
  // A link failing to show the first record leaves the cursor open.
  SetState(DataSetState::Browse);
  if (AfterOpen) AfterOpen(*this);
  if (AfterScroll) AfterScroll(*this);
}

void TDataSet::DoClose() {
  if (BeforeClose) BeforeClose(*this);
  std::exception_ptr linkError;
  try {
    SetState(DataSetState::Inactive);
  } catch (...) {
    // The close still completes: a half-closed cursor would be worse.
    linkError = std::current_exception();
  }
  buffers_.clear();
  windowSize_ = 0;
  ClearWindow();
  opened_ = false;
  CloseCursor();
  if (AfterClose) AfterClose(*this);
  if (linkError) std::rethrow_exception(linkError);
}

void TDataSet::SetState(DataSetState state) {
  if (state_ == state) return;
  state_ = state;
  SendEvent(DataEvent::UpdateState);
}

void TDataSet::CheckActive() const {
  if (!opened_) DatabaseError("Cannot perform this operation on a closed dataset", name_);
}

void TDataSet::Edit() {
  CheckActive();
  DatabaseError("Cannot modify a read-only dataset", name_);
}

void TDataSet::Insert() {
  Edit();
}

void TDataSet::Delete() {
  Edit();
}

RecordBuffer* TDataSet::ActiveBuffer() {
  return IsEmpty() ? nullptr : buffers_[static_cast<std::size_t>(activeRecord_)].get();
}

const RecordBuffer* TDataSet::ActiveBuffer() const {
  return IsEmpty() ? nullptr : buffers_[static_cast<std::size_t>(activeRecord_)].get();
}

const RecordBuffer* TDataSet::WindowBuffer(int index) const {
  if (index < 0 || index >= recordCount_) return nullptr;
  return buffers_[static_cast<std::size_t>(index)].get();
}

std::optional<std::string> TDataSet::FieldValue(const TField&, const RecordBuffer&) const {
  return std::nullopt;
}

bool TDataSet::BlobIsNull(const TField& field, const RecordBuffer& buffer) const {
  return !FieldValue(field, buffer).has_value();
}
void TDataSet::OpenBlob(const TField&) {}
std::uint64_t TDataSet::BlobSize(const TField&) {
  return 0;
}
TDataSet::BlobReadResult TDataSet::ReadBlob(const TField&, std::uint64_t, std::size_t,
                                            std::string&) {
  return BlobReadResult::NothingRead;
}
void TDataSet::FreeBlob(const TField&) {}

// --- notifications -------------------------------------------------------

void TDataSet::SuspendNotifications() {
  if (suspendCount_++ == 0) {
    suspendedState_ = state_;
    rememberedEvent_ = DataEvent::DataSetChanged;
  }
}

void TDataSet::ResumeNotifications() {
  if (suspendCount_ == 0 || --suspendCount_ > 0) return;
  if (state_ != suspendedState_) SendEvent(DataEvent::UpdateState);
  if (suspendedState_ != DataSetState::Inactive && state_ != DataSetState::Inactive)
    SendEvent(rememberedEvent_);
}

void TDataSet::SendEvent(DataEvent event, int distance, TField* field) {
  if (suspendCount_ > 0) {
    if ((event == DataEvent::UpdateState && state_ == DataSetState::Inactive) ||
        event == DataEvent::LayoutChanged)
      rememberedEvent_ = DataEvent::LayoutChanged;
    return;
  }
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
    if (std::find(dataSources_.begin(), dataSources_.end(), source) == dataSources_.end()) continue;
    source->ReceiveEvent(event, distance, field);
  }
}

void TDataSet::AttachDataSource(TDataSource* source) {
  dataSources_.push_back(source);
  UpdateWindowSize();
}

void TDataSet::DetachDataSource(TDataSource* source) {
  std::erase(dataSources_, source);
  UpdateWindowSize();
}

}  // namespace pellory::data
