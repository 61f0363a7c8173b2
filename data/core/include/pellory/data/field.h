// TField: one column of a cursor as the program sees it.
#pragma once

#include <optional>
#include <string>

#include "pellory/data/types.h"

namespace pellory::data {

class TDataSet;

class TField {
 public:
  TField(std::string fieldName, TFieldType dataType, int size = 0);
  virtual ~TField();
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  // The object's own name, used in front of the errors it raises.
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name) { fieldName_ = std::move(name); }
  TFieldType DataType() const { return dataType_; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  int FieldNo() const { return fieldNo_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind) { fieldKind_ = kind; }
  const std::string& DisplayLabel() const { return displayLabel_; }
  void SetDisplayLabel(std::string label);
  const std::string& DisplayName() const {
    return displayLabel_.empty() ? fieldName_ : displayLabel_;
  }
  // Display settings a grid lays its columns out by; changing one on an
  // open cursor changes the layout, as moving the field does.
  // Width in characters; by default a text column's size, else 10.
  int DisplayWidth() const;
  void SetDisplayWidth(int width);
  // Position in the cursor's field list; moving a field of an open cursor
  // changes the layout.
  int Index() const;
  void SetIndex(int index);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Transliterate() const { return transliterate_; }
  void SetTransliterate(bool value) { transliterate_ = value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  // How a grid aligns the value in its cell: numbers right, the rest left,
  // unless set.
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  // Bound to a column, not read-only itself, and its cursor can be modified.
  bool CanModify() const;
  TDataSet* DataSet() const { return dataSet_; }
  bool IsBlob() const;

  // The current record's value; blank reads as no value.
  virtual bool IsNull() const;
  virtual std::string AsString() const;
  // The current record's value as a grid cell shows it.
  virtual std::string DisplayText() const { return AsString(); }

 protected:
  // The raw value of the current record, or nothing when blank or empty.
  std::optional<std::string> CurrentValue() const;
  void SetDataType(TFieldType type) { dataType_ = type; }

 private:
  void LayoutChanged();

  friend class TDataSet;
  friend class TTable;

  std::string name_;
  std::string fieldName_;
  TFieldType dataType_;
  int size_;
  int fieldNo_ = 0;
  TFieldKind fieldKind_ = fkData;
  std::string displayLabel_;
  int displayWidth_ = -1;
  bool visible_ = true;
  bool readOnly_ = false;
  std::optional<TAlignment> alignment_;
  bool transliterate_ = false;
  TDataSet* dataSet_ = nullptr;
  bool madeAtOpen_ = false;
};

class TStringField : public TField {
 public:
  explicit TStringField(std::string fieldName, int size = 20);
  TStringField(std::string fieldName, TFieldType type, int size);
};

// Numbers: the engine's value decoded by the column's type.
class TNumberField : public TField {
 public:
  TNumberField(std::string fieldName, TFieldType type) : TField(std::move(fieldName), type) {}
  // 0 when blank.
  double AsFloat() const;
  long long AsInteger() const;
  std::string AsString() const override;
};

class TBooleanField : public TField {
 public:
  explicit TBooleanField(std::string fieldName) : TField(std::move(fieldName), ftBoolean) {}
  bool AsBoolean() const;
  // "True" or "False"; empty when blank.
  std::string AsString() const override;
};

// Dates as "YYYY-MM-DD", times as "HH:MM:SS", both for a date-time.
class TDateTimeField : public TField {
 public:
  TDateTimeField(std::string fieldName, TFieldType type) : TField(std::move(fieldName), type) {}
  std::string AsString() const override;
};

// Bytes as upper-case hexadecimal pairs.
class TBytesField : public TField {
 public:
  TBytesField(std::string fieldName, TFieldType type, int size)
      : TField(std::move(fieldName), type, size) {}
  std::string AsString() const override;
};

}  // namespace pellory::data
