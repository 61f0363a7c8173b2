// The cursor's field list: declared fields, fields made per column at open,
// and binding them to the table's columns.
#include <algorithm>

#include "pellory/data/blob_field.h"
#include "pellory/data/columns.h"
#include "pellory/data/dataset.h"
#include "pellory/data/errors.h"
#include "pellory/data/field.h"
#include "text.h"

namespace pellory::data {

TField& TDataSet::AddField(std::unique_ptr<TField> field) {
  field->dataSet_ = this;
  fieldList_.push_back(field.get());
  ownedFields_.push_back(std::move(field));
  return *fieldList_.back();
}

void TDataSet::DestroyMadeFields() {
  std::erase_if(fieldList_, [](TField* f) { return f->madeAtOpen_; });
  std::erase_if(ownedFields_, [](const auto& f) { return f->madeAtOpen_; });
}

TField* TDataSet::FindField(const std::string& name) const {
  for (TField* field : fieldList_)
    if (SameTextIgnoringCase(field->FieldName(), name)) return field;
  return nullptr;
}

TField& TDataSet::FieldByName(const std::string& name) const {
  TField* field = FindField(name);
  if (field == nullptr) DatabaseError(FormatMessage("Field '%s' not found", {name}), name_);
  return *field;
}

int TDataSet::IndexOfField(const TField& field) const {
  const auto it = std::find(fieldList_.begin(), fieldList_.end(), &field);
  return it == fieldList_.end() ? -1 : static_cast<int>(it - fieldList_.begin());
}

void TDataSet::MoveField(TField& field, int index) {
  const int from = IndexOfField(field);
  if (from < 0) return;
  const int to = std::clamp(index, 0, static_cast<int>(fieldList_.size()) - 1);
  if (to == from) return;
  fieldList_.erase(fieldList_.begin() + from);
  fieldList_.insert(fieldList_.begin() + to, &field);
  if (Active()) SendEvent(DataEvent::LayoutChanged);
}

void TDataSet::MakeFieldsForColumns(const std::vector<ColumnDef>& columns) {
  if (!fieldList_.empty()) return;
  for (const ColumnDef& column : columns) {
    std::unique_ptr<TField> field = MakeFieldFor(column);
    if (!field) continue;
    field->madeAtOpen_ = true;
    field->SetName(name_ + column.name);
    AddField(std::move(field));
  }
}

void TDataSet::BindFields(const std::vector<ColumnDef>& columns) {
  ResetBlobSlots();
  for (TField* field : fieldList_) {
    const ColumnDef& column = MatchColumn(*field, columns, name_);
    if (auto* blob = dynamic_cast<TBlobField*>(field)) {
      blob->SetSize(column.size);
      blob->SetBlobSlot(AssignBlobSlot());
    }
    field->fieldNo_ = column.number;
  }
}

void TDataSet::UnbindFields() {
  for (TField* field : fieldList_) {
    field->fieldNo_ = 0;
    if (auto* blob = dynamic_cast<TBlobField*>(field)) blob->SetBlobSlot(-1);
  }
  ResetBlobSlots();
  DestroyMadeFields();
}

}  // namespace pellory::data
