// TTable: opening and closing on the engine, and the record source.
#include "pellory/data/table.h"

#include <cstring>
#include <filesystem>

#include "pellory/data/database.h"
#include "pellory/data/errors.h"
#include "pellory/data/field.h"
#include "pellory/data/session.h"

namespace pellory::data {
namespace {

constexpr unsigned kNoIndex = 0xFFFF;

bool FileExists(const std::string& name) {
  std::error_code ignored;
  return std::filesystem::exists(name, ignored);
}

std::string DriverForType(TTableType type, const std::string& tableName) {
  switch (type) {
    case ttParadox:
      return "PARADOX";
    case ttDBase:
      return "DBASE";
    case ttFoxPro:
      return "FOXPRO";
    case ttASCII:
      return "ASCIIDRV";
    case ttDefault:
      break;
  }
  return DriverNameFor(tableName, FileExists);
}

}  // namespace

TTable::TTable() : TTable(Session) {}

TTable::TTable(TSession& session) : session_(session) {}

TTable::~TTable() {
  try {
    SetActive(false);
  } catch (...) {
    // A cursor dies with its window; a failing link cannot be told anymore.
  }
}

TableOpenRequest TTable::MakeOpenRequest() const {
  TableOpenRequest request;
  request.database = database_->Handle();
  request.tableName = tableName_;
  request.driverName =
      database_->IsSQLBased() ? std::string() : DriverForType(tableType_, tableName_);
  request.readOnly = readOnly_;
  request.exclusive = exclusive_;
  request.indexId = defaultIndex_ ? 0 : kNoIndex;
  return request;
}

void TTable::OpenEngineCursor() {
  if (tableName_.empty()) DatabaseError("Missing TableName property", Name());
  TableOpenRequest request = MakeOpenRequest();
  EngineHandle cursor = nullptr;
  for (;;) {
    EngineResult result = engine_code::kOk;
    {
      TSession::Lock lock(session_);
      result = session_.Engine().OpenTable(request, cursor);
    }
    if (result == engine_code::kOk) break;
    if (result == engine_code::kReadOnlyTable && !request.readOnly) {
      request.readOnly = true;
      continue;
    }
    // The user may supply the missing password; a wrong one asks again.
    if (result == engine_code::kNeedsPassword && session_.GetPassword()) continue;
    session_.RaiseEngineError(result);
  }
  if (cursor == nullptr) throw EDatabaseError("Error creating cursor handle");
  handle_ = cursor;
}

void TTable::OpenCursor() {
  database_ = &session_.OpenDatabase(databaseName_);
  OpenEngineCursor();
  EngineCalls& engine = session_.Engine();
  TSession::Lock lock(session_);
  session_.Check(engine.Properties(handle_, properties_));
  std::vector<ColumnDescriptor> descriptors;
  session_.Check(engine.FieldDescriptors(handle_, descriptors));
  columns_ = BuildColumnDefs(descriptors);
  MakeFieldsForColumns(columns_);
  BindFields(columns_);
  session_.Check(engine.GoToStart(handle_));
  RegisterStoredFilter();
}

void TTable::CloseCursor() {
  ForgetFilter();
  UnbindFields();
  columns_.clear();
  properties_ = CursorProperties{};
  if (handle_ != nullptr) {
    TSession::Lock lock(session_);
    session_.Engine().CloseCursor(handle_);
    handle_ = nullptr;
  }
  if (database_ != nullptr) {
    TDatabase* database = database_;
    database_ = nullptr;
    session_.CloseDatabase(*database);
  }
}

void TTable::GoToStart() {
  TSession::Lock lock(session_);
  session_.Check(session_.Engine().GoToStart(handle_));
}

void TTable::GoToEnd() {
  TSession::Lock lock(session_);
  session_.Check(session_.Engine().GoToEnd(handle_));
}

TDataSet::ReadResult TTable::ReadRecord(RecordBuffer& buffer, ReadMode mode) {
  TSession::Lock lock(session_);
  EngineCalls& engine = session_.Engine();
  const RecordRead which = mode == ReadMode::Next    ? RecordRead::Next
                           : mode == ReadMode::Prior ? RecordRead::Prior
                                                     : RecordRead::Current;
  std::vector<std::uint8_t> record(static_cast<std::size_t>(properties_.recordSize));
  const EngineResult result = engine.ReadRecord(handle_, which, record);
  if (result == engine_code::kAtBeginning) return ReadResult::AtBeginning;
  if (result == engine_code::kAtEnd) return ReadResult::AtEnd;
  session_.Check(result);
  std::vector<std::uint8_t> bookmark(static_cast<std::size_t>(properties_.bookmarkSize));
  session_.Check(engine.GetBookmark(handle_, bookmark));
  long number = -1;
  if (properties_.numbering != RecordNumbering::None &&
      engine.RecordNumber(handle_, number) != engine_code::kOk)
    number = -1;
  buffer.data = std::move(record);
  buffer.position = std::move(bookmark);
  buffer.recordNumber = number;
  return ReadResult::Ok;
}

void TTable::StandOn(const RecordBuffer& buffer) {
  TSession::Lock lock(session_);
  session_.Check(session_.Engine().GoToBookmark(handle_, buffer.position));
}

std::optional<std::string> TTable::FieldValue(const TField& field,
                                              const RecordBuffer& buffer) const {
  if (handle_ == nullptr || field.FieldNo() == 0) return std::nullopt;
  TSession::Lock lock(session_);
  std::string value;
  bool blank = true;
  session_.Check(session_.Engine().GetField(handle_, field.FieldNo(), buffer.data, value, blank));
  if (blank) return std::nullopt;
  // Character values come zero-padded; the text ends at the first zero.
  if (BaseType(field.DataType()) == ftString) value.resize(std::strlen(value.c_str()));
  return field.Transliterate() ? TranslateToProgram(value) : value;
}

std::string TTable::TranslateToProgram(const std::string& bytes) const {
  if (bytes.empty() || handle_ == nullptr) return bytes;
  TSession::Lock lock(session_);
  std::string converted;
  session_.Check(session_.Engine().ToProgramText(handle_, bytes, converted));
  return converted;
}

std::string TTable::TranslateToTable(const std::string& text) const {
  if (text.empty() || handle_ == nullptr) return text;
  TSession::Lock lock(session_);
  std::string converted;
  session_.Check(session_.Engine().FromProgramText(handle_, text, converted));
  return converted;
}

}  // namespace pellory::data
