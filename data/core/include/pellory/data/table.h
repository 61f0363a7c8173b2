// TTable: a cursor on one table through the engine; TwwTable adds the grid's
// per-cursor settings and otherwise behaves the same.
#pragma once

#include <string>
#include <vector>

#include "pellory/data/columns.h"
#include "pellory/data/dataset.h"
#include "pellory/data/engine_calls.h"

namespace pellory::data {

class TDatabase;
class TSession;

enum TTableType { ttDefault, ttParadox, ttDBase, ttFoxPro, ttASCII };

class TTable : public TDataSet {
 public:
  // A cursor of the given session; the process-wide Session by default.
  TTable();
  explicit TTable(TSession& session);
  ~TTable() override;

  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(std::string name) { databaseName_ = std::move(name); }
  const std::string& TableName() const { return tableName_; }
  void SetTableName(std::string name) { tableName_ = std::move(name); }
  TTableType TableType() const { return tableType_; }
  void SetTableType(TTableType type) { tableType_ = type; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool Exclusive() const { return exclusive_; }
  void SetExclusive(bool exclusive) { exclusive_ = exclusive; }
  bool DefaultIndex() const { return defaultIndex_; }
  void SetDefaultIndex(bool value) { defaultIndex_ = value; }

  TSession& SessionOf() const { return session_; }
  TDatabase* Database() const { return database_; }
  EngineHandle Handle() const { return handle_; }
  const std::vector<ColumnDef>& FieldDefs() const { return columns_; }
  bool CanModify() const override { return !readOnly_ && properties_.writable; }

  // Record numbers, for the grid's scroll bar.
  virtual bool IsSequenced() const;
  long RecNo() const;
  long RecordCount();
  void SetRecNo(long number);

  std::optional<std::string> FieldValue(const TField& field,
                                        const RecordBuffer& buffer) const override;

  // Turns filter text into the engine's binary expression for this cursor;
  // the program sets it to its filter compiler.
  using FilterCompiler =
      std::function<std::vector<std::uint8_t>(const TDataSet&, const std::string&, TFilterOptions)>;
  static void SetFilterCompiler(FilterCompiler compiler);
  static FilterCompiler FilterCompilerInUse();
  // Converts the program's text to the table's character set.
  std::string TranslateToTable(const std::string& text) const;

 protected:
  void GoToStart() override;
  void GoToEnd() override;
  ReadResult ReadRecord(RecordBuffer& buffer, ReadMode mode) override;
  void StandOn(const RecordBuffer& buffer) override;
  void OpenCursor() override;
  void CloseCursor() override;

  FilterHandle RegisterFilter(const std::string& text, TFilterOptions options) override;
  bool ApplyFilter(FilterHandle handle, bool raiseOnRefusal) override;
  void LiftFilter(FilterHandle handle) override;
  void DropFilter(FilterHandle handle) override;

  bool BlobIsNull(const TField& field, const RecordBuffer& buffer) const override;
  void OpenBlob(const TField& field) override;
  std::uint64_t BlobSize(const TField& field) override;
  BlobReadResult ReadBlob(const TField& field, std::uint64_t position, std::size_t count,
                          std::string& bytes) override;
  void FreeBlob(const TField& field) override;
  std::string TranslateToProgram(const std::string& bytes) const override;

 private:
  void OpenEngineCursor();
  TableOpenRequest MakeOpenRequest() const;
  RecordBuffer& CurrentBufferOrThrow();

  TSession& session_;
  std::string databaseName_;
  std::string tableName_;
  TTableType tableType_ = ttDefault;
  bool readOnly_ = false;
  bool exclusive_ = false;
  bool defaultIndex_ = true;

  TDatabase* database_ = nullptr;
  EngineHandle handle_ = nullptr;
  CursorProperties properties_;
  std::vector<ColumnDef> columns_;
};

class TwwTable : public TTable {
 public:
  using TTable::TTable;

  // Per-column control settings of the grid ("Sample3;Bitmap" ...).
  const std::vector<std::string>& ControlType() const { return controlType_; }
  void SetControlType(std::vector<std::string> settings) { controlType_ = std::move(settings); }

 private:
  std::vector<std::string> controlType_;
};

}  // namespace pellory::data
