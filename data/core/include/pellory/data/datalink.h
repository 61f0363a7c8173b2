// TDataLink: a control's view into a cursor's record window through a data
// source; TFieldDataLink ties one control to one field.
#pragma once

#include <functional>
#include <string>

#include "pellory/data/types.h"

namespace pellory::data {

class TDataSet;
class TDataSource;
class TField;

class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int count);
  bool Active() const { return active_; }
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool VisualControl() const { return visualControl_; }
  void SetVisualControl(bool visual) { visualControl_ = visual; }
  // Set while the link itself writes a value, so it is not told about it.
  bool Updating() const { return updating_; }
  void SetUpdating(bool updating) { updating_ = updating; }

  // Index of the link's first record in the cursor's window.
  int FirstRecord() const { return firstRecord_; }
  int ActiveRecord() const;
  int RecordCount() const;
  // Makes row r of this link the cursor's current record, without any event,
  // for a caller that reads another row and sets it back.
  void SetActiveRecord(int row);

 protected:
  // What the link's kind does with each notification. By default scrolling
  // and layout are taken as a data change, and a data change as a change of
  // every field.
  virtual void HandleActiveState() {}
  virtual void HandleEditing() {}
  virtual void HandleDataChange() { HandleRecordChange(nullptr); }
  virtual void HandleScroll(int /*distance*/) { HandleDataChange(); }
  virtual void HandleLayout() { HandleDataChange(); }
  virtual void HandleRecordChange(TField* /*field*/) {}
  virtual void HandleUpdateData() {}
  virtual void HandleCheckBrowse() {}
  virtual void HandleFocus(TField* /*field*/) {}

 private:
  friend class TDataSource;
  friend class TDataSet;

  void ReceiveEvent(DataEvent event, int distance, TField* field);
  void UpdateActiveAndEditing();
  void ClampFirstRecord();
  int ShiftInto(int distance);

  TDataSource* dataSource_ = nullptr;
  int bufferCount_ = 1;
  int firstRecord_ = 0;
  bool active_ = false;
  bool visualControl_ = false;
  bool readOnly_ = false;
  bool editing_ = false;
  bool updating_ = false;
};

class TFieldDataLink : public TDataLink {
 public:
  TFieldDataLink();

  // The bound control's name, put in front of the errors the link raises.
  const std::string& ControlName() const { return controlName_; }
  void SetControlName(std::string name) { controlName_ = std::move(name); }
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name);
  TField* Field() const { return field_; }
  // A control's request to begin editing: refused unless the link and its
  // field can be modified; answers whether editing began.
  bool Edit();

  // Has the control read its field again (the field is nullptr while inactive).
  std::function<void(TField*)> RereadField;
  std::function<void()> EditingChange;
  std::function<void(TField*)> FocusField;

 protected:
  void HandleActiveState() override;
  void HandleEditing() override;
  void HandleLayout() override;
  void HandleRecordChange(TField* field) override;
  void HandleFocus(TField* field) override;

 private:
  void LookUpField();

  std::string controlName_;
  std::string fieldName_;
  TField* field_ = nullptr;
};

}  // namespace pellory::data
