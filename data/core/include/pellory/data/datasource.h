// TDataSource: passes a cursor's events on to the links of the controls bound
// to it, in a fixed order.
#pragma once

#include <functional>
#include <vector>

#include "pellory/data/types.h"

namespace pellory::data {

class TDataSet;
class TDataLink;
class TField;

class TDataSource {
 public:
  TDataSource() = default;
  virtual ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
  DataSetState State() const { return state_; }
  // In the order they were attached.
  const std::vector<TDataLink*>& Links() const { return links_; }

  std::function<void(TDataSource&)> OnStateChange;
  std::function<void(TDataSource&, TField*)> OnDataChange;
  std::function<void(TDataSource&)> OnUpdateData;

 private:
  friend class TDataSet;
  friend class TDataLink;

  void AttachLink(TDataLink* link);
  void DetachLink(TDataLink* link);
  void ReceiveEvent(DataEvent event, int distance, TField* field);
  void TellLinks(DataEvent event, int distance, TField* field);
  void UpdateState();

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  bool autoEdit_ = true;
  DataSetState state_ = DataSetState::Inactive;
  std::vector<TDataLink*> links_;
};

// The grid's data source; it behaves exactly as TDataSource.
class TwwDataSource : public TDataSource {};

}  // namespace pellory::data
