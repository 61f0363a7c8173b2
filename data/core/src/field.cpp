#include "pellory/data/field.h"

#include "pellory/data/columns.h"
#include "pellory/data/dataset.h"
#include "pellory/data/types.h"

namespace pellory::data {

TField::TField(std::string fieldName, TFieldType dataType, int size)
    : fieldName_(std::move(fieldName)), dataType_(dataType), size_(size) {}

TField::~TField() = default;

int TField::DisplayWidth() const {
  if (displayWidth_ >= 0) return displayWidth_;
  return dataType_ == ftString || dataType_ == ftFixedChar ? size_ : 10;
}

void TField::SetDisplayLabel(std::string label) {
  if (label == displayLabel_) return;
  displayLabel_ = std::move(label);
  LayoutChanged();
}

void TField::SetDisplayWidth(int width) {
  if (width == displayWidth_) return;
  displayWidth_ = width;
  LayoutChanged();
}

void TField::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  LayoutChanged();
}

void TField::LayoutChanged() {
  if (dataSet_ != nullptr && dataSet_->Active()) dataSet_->SendEvent(DataEvent::LayoutChanged);
}

int TField::Index() const {
  return dataSet_ != nullptr ? dataSet_->IndexOfField(*this) : -1;
}

void TField::SetIndex(int index) {
  if (dataSet_ != nullptr) dataSet_->MoveField(*this, index);
}

TAlignment TField::Alignment() const {
  if (alignment_) return *alignment_;
  switch (dataType_) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
      return taRightJustify;
    default:
      return taLeftJustify;
  }
}

bool TField::CanModify() const {
  return fieldNo_ > 0 && !readOnly_ && dataSet_ != nullptr && dataSet_->CanModify();
}

bool TField::IsBlob() const {
  return BaseType(dataType_) == ftBlob;
}

std::optional<std::string> TField::CurrentValue() const {
  if (dataSet_ == nullptr) return std::nullopt;
  const RecordBuffer* buffer = dataSet_->ActiveBuffer();
  if (buffer == nullptr) return std::nullopt;
  return dataSet_->FieldValue(*this, *buffer);
}

bool TField::IsNull() const {
  return !CurrentValue().has_value();
}

std::string TField::AsString() const {
  return CurrentValue().value_or(std::string());
}

TStringField::TStringField(std::string fieldName, int size)
    : TStringField(std::move(fieldName), ftString, size) {}

TStringField::TStringField(std::string fieldName, TFieldType type, int size)
    : TField(std::move(fieldName), type, size) {
  SetTransliterate(true);
}

}  // namespace pellory::data
