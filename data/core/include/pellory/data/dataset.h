// TDataSet: a cursor's record window, its moves and the events it sends.
// A concrete cursor supplies the record source: the few primitive operations
// below, which TTable maps onto the engine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pellory/data/types.h"

namespace pellory::data {

class TDataSource;
class TDataLink;
class TField;
struct ColumnDef;

class TDataSet {
 public:
  using Handler = std::function<void(TDataSet&)>;

  TDataSet();
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Opening and closing.
  bool Active() const { return state_ != DataSetState::Inactive; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  DataSetState State() const { return state_; }

  // Moves.
  void First();
  void Last();
  int MoveBy(int distance);
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return activeRecord_ >= recordCount_; }

  // Whether the cursor could be changed. This program writes nothing, so
  // Edit, Insert and Delete always refuse, with the read-only text.
  virtual bool CanModify() const { return false; }
  void Edit();
  void Insert();
  void Delete();

  // The record window.
  int WindowSize() const { return windowSize_; }
  int RecordCountInWindow() const { return recordCount_; }
  int ActiveRecordIndex() const { return activeRecord_; }
  // The buffer of the current record, or nullptr on an empty cursor.
  RecordBuffer* ActiveBuffer();
  const RecordBuffer* ActiveBuffer() const;
  const RecordBuffer* WindowBuffer(int index) const;

  // Fields: declared ones stay for the cursor's life, made ones only while open.
  TField& AddField(std::unique_ptr<TField> field);
  const std::vector<TField*>& Fields() const { return fieldList_; }
  TField* FindField(const std::string& name) const;
  int IndexOfField(const TField& field) const;
  // Moves a field to another place in the list (clamped to the list).
  void MoveField(TField& field, int index);
  TField& FieldByName(const std::string& name) const;
  // The raw value of a field in a buffer, nothing when blank.
  virtual std::optional<std::string> FieldValue(const TField& field,
                                                const RecordBuffer& buffer) const;

  // The filter: on a closed cursor the setters only store; opening registers
  // the stored text and applies it when Filtered. A failure stores nothing.
  const std::string& Filter() const { return filterText_; }
  void SetFilter(const std::string& text);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);
  TFilterOptions FilterOptions() const { return filterOptions_; }
  void SetFilterOptions(TFilterOptions options);

  // Notifications are held back while suspended; resuming sends what was missed.
  void SuspendNotifications();
  void ResumeNotifications();
  bool NotificationsSuspended() const { return suspendCount_ > 0; }

  // Works the window size out again from the links (while open).
  void UpdateWindowSize();
  void SendEvent(DataEvent event, int distance = 0, TField* field = nullptr);

  const std::vector<TDataSource*>& DataSources() const { return dataSources_; }

  Handler BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeScroll, AfterScroll;

 protected:
  enum class ReadMode { Next, Prior, Current };
  enum class ReadResult { Ok, AtBeginning, AtEnd };

  // The record source. Errors are thrown; the at-beginning and at-end
  // answers are results.
  virtual void GoToStart() = 0;
  virtual void GoToEnd() = 0;
  virtual ReadResult ReadRecord(RecordBuffer& buffer, ReadMode mode) = 0;
  virtual void StandOn(const RecordBuffer& buffer) = 0;

  // Opening: everything up to the filled window; closing: everything after
  // the state went inactive and the buffers were released.
  virtual void OpenCursor() = 0;
  virtual void CloseCursor() = 0;
  // The filter's engine side. RegisterFilter compiles and registers (null for
  // an empty text) and throws on failure; ApplyFilter answers whether the
  // engine took it, or throws when raiseOnRefusal; LiftFilter throws on
  // failure; DropFilter is not checked.
  virtual FilterHandle RegisterFilter(const std::string& text, TFilterOptions options) = 0;
  virtual bool ApplyFilter(FilterHandle handle, bool raiseOnRefusal) = 0;
  virtual void LiftFilter(FilterHandle handle) = 0;
  virtual void DropFilter(FilterHandle handle) = 0;
  // Opening: registers the stored filter and applies it when Filtered.
  void RegisterStoredFilter();
  void ForgetFilter() { filterHandle_ = nullptr; }
  FilterHandle CurrentFilterHandle() const { return filterHandle_; }

  // Blob access for TBlobStream, on the current record. ReadBlob answers
  // how the engine answered; other failures are thrown.
  enum class BlobReadResult { Ok, EndOfBlob, NothingRead };
  virtual bool BlobIsNull(const TField& field, const RecordBuffer& buffer) const;
  virtual void OpenBlob(const TField& field);
  virtual std::uint64_t BlobSize(const TField& field);
  virtual BlobReadResult ReadBlob(const TField& field, std::uint64_t position, std::size_t count,
                                  std::string& bytes);
  virtual void FreeBlob(const TField& field);
  // Converts text from the table's character set to the program's.
  virtual std::string TranslateToProgram(const std::string& bytes) const { return bytes; }
  // Reads the current record again into its buffer, emptying its blob slots.
  void RereadCurrentRecord();

  // Blob slots are handed out in binding order; closing takes them back.
  int AssignBlobSlot() { return blobSlotCount_++; }
  void ResetBlobSlots() { blobSlotCount_ = 0; }
  int BlobSlotCount() const { return blobSlotCount_; }

  void CheckActive() const;
  // Re-centres the window on the record the engine stands on, then sends
  // data-set-changed.
  void RecentreOnEngineRecord();
  // Forgets which buffer the engine stands on, so the next read re-positions.
  void ForgetEnginePosition() { enginePosition_ = kNoPosition; }
  void DestroyMadeFields();
  // Opening: make one field per column when none were declared (unknown
  // types skipped), then bind every field to its column; closing undoes both.
  void MakeFieldsForColumns(const std::vector<ColumnDef>& columns);
  void BindFields(const std::vector<ColumnDef>& columns);
  void UnbindFields();

 private:
  friend class TDataSource;
  friend class TDataLink;
  friend class TBlobStream;
  friend class TBlobField;

  static constexpr int kNoPosition = -1;

  void DoOpen();
  void DoClose();
  void SetState(DataSetState state);
  void ResizeWindow(int size);
  void DropFrontBuffers(int count);
  void FillWindow();
  void ClearWindow();
  void PositionOn(int index);
  bool ReadForward();
  bool ReadBackward();
  RecordBuffer& ScratchBuffer();
  void ReadInto(RecordBuffer& buffer, ReadMode mode, ReadResult& result);
  bool ReadCurrentIntoScratch();
  int WantedWindowSize() const;
  void BeginMove();
  void RefillFromEdge(bool fromStart);
  int StepForward(int steps, int& scroll);
  int StepBack(int steps, int& scroll);

  void ChangeFilter(const std::string& text, TFilterOptions options);
  void ApplyOrRecompile();
  void MoveToStartUnchecked();

  void AttachDataSource(TDataSource* source);
  void DetachDataSource(TDataSource* source);
  void SetActiveRecordIndex(int index) { activeRecord_ = index; }

  std::string name_;
  DataSetState state_ = DataSetState::Inactive;
  bool opened_ = false;
  int windowSize_ = 0;
  std::vector<std::unique_ptr<RecordBuffer>> buffers_;
  int recordCount_ = 0;
  int activeRecord_ = 0;
  int enginePosition_ = kNoPosition;
  bool bof_ = true;
  bool eof_ = true;
  std::vector<TDataSource*> dataSources_;
  int blobSlotCount_ = 0;
  int suspendCount_ = 0;
  DataSetState suspendedState_ = DataSetState::Inactive;
  DataEvent rememberedEvent_ = DataEvent::DataSetChanged;

  std::string filterText_;
  TFilterOptions filterOptions_;
  bool filtered_ = false;
  FilterHandle filterHandle_ = nullptr;

  std::vector<std::unique_ptr<TField>> ownedFields_;
  std::vector<TField*> fieldList_;
};

}  // namespace pellory::data
