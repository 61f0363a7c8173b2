// TTable's blobs, filters and record numbers on the engine.
#include <utility>

#include "pellory/data/errors.h"
#include "pellory/data/field.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"

namespace pellory::data {
namespace {}  // namespace

TTable::FilterCompiler MakeDefaultFilterCompiler();

namespace {

TTable::FilterCompiler& Compiler() {
  static TTable::FilterCompiler compiler = MakeDefaultFilterCompiler();
  return compiler;
}

}  // namespace

void TTable::SetFilterCompiler(FilterCompiler compiler) {
  Compiler() = std::move(compiler);
}

TTable::FilterCompiler TTable::FilterCompilerInUse() {
  return Compiler();
}

RecordBuffer& TTable::CurrentBufferOrThrow() {
  RecordBuffer* buffer = ActiveBuffer();
  if (buffer == nullptr) DatabaseError("Cannot perform this operation on a closed dataset", Name());
  return *buffer;
}

bool TTable::BlobIsNull(const TField& field, const RecordBuffer& buffer) const {
  if (handle_ == nullptr || field.FieldNo() == 0) return true;
  TSession::Lock lock(session_);
  std::string ignored;
  bool blank = true;
  session_.Check(session_.Engine().GetField(handle_, field.FieldNo(), buffer.data, ignored, blank));
  return blank;
}

void TTable::OpenBlob(const TField& field) {
  TSession::Lock lock(session_);
  session_.Check(session_.Engine().OpenBlob(handle_, field.FieldNo(), CurrentBufferOrThrow().data));
}

std::uint64_t TTable::BlobSize(const TField& field) {
  TSession::Lock lock(session_);
  std::uint64_t size = 0;
  session_.Check(
      session_.Engine().BlobSize(handle_, field.FieldNo(), CurrentBufferOrThrow().data, size));
  return size;
}

TDataSet::BlobReadResult TTable::ReadBlob(const TField& field, std::uint64_t position,
                                          std::size_t count, std::string& bytes) {
  TSession::Lock lock(session_);
  const EngineResult result = session_.Engine().ReadBlob(
      handle_, field.FieldNo(), CurrentBufferOrThrow().data, position, count, bytes);
  if (result == engine_code::kEndOfBlob) return BlobReadResult::EndOfBlob;
  if (result == engine_code::kNothingRead) return BlobReadResult::NothingRead;
  session_.Check(result);
  return BlobReadResult::Ok;
}

void TTable::FreeBlob(const TField& field) {
  RecordBuffer* buffer = ActiveBuffer();
  if (buffer == nullptr || handle_ == nullptr) return;
  TSession::Lock lock(session_);
  session_.Engine().FreeBlob(handle_, field.FieldNo(), buffer->data);
}

FilterHandle TTable::RegisterFilter(const std::string& text, TFilterOptions options) {
  if (!Compiler()) throw EDatabaseError("No filter compiler is available", Name());
  const std::vector<std::uint8_t> expression = Compiler()(*this, text, options);
  TSession::Lock lock(session_);
  EngineHandle filter = nullptr;
  session_.Check(session_.Engine().AddFilter(handle_, expression, filter));
  return filter;
}

bool TTable::ApplyFilter(FilterHandle handle, bool raiseOnRefusal) {
  TSession::Lock lock(session_);
  const EngineResult result = session_.Engine().ActivateFilter(handle_, handle);
  if (result == engine_code::kOk) return true;
  if (raiseOnRefusal) session_.RaiseEngineError(result);
  return false;
}

void TTable::LiftFilter(FilterHandle handle) {
  TSession::Lock lock(session_);
  session_.Check(session_.Engine().DeactivateFilter(handle_, handle));
}

void TTable::DropFilter(FilterHandle handle) {
  TSession::Lock lock(session_);
  session_.Engine().DropFilter(handle_, handle);
}

bool TTable::IsSequenced() const {
  return properties_.numbering == RecordNumbering::Sequence && !Filtered();
}

long TTable::RecNo() const {
  const RecordBuffer* buffer = ActiveBuffer();
  return buffer != nullptr ? buffer->recordNumber : -1;
}

long TTable::RecordCount() {
  CheckActive();
  TSession::Lock lock(session_);
  long count = 0;
  if (session_.Engine().CountRecords(handle_, count) == engine_code::kOk) return count;
  if (session_.Engine().CountRecordsAgain(handle_, count) == engine_code::kOk) return count;
  return -1;
}

void TTable::SetRecNo(long number) {
  CheckActive();
  SendEvent(DataEvent::CheckBrowse);
  if (properties_.numbering != RecordNumbering::Sequence || number == RecNo()) return;
  if (BeforeScroll) BeforeScroll(*this);
  EngineResult result = engine_code::kOk;
  {
    TSession::Lock lock(session_);
    result = session_.Engine().GoToSequenceNumber(handle_, number);
  }
  // A number the engine refuses leaves the cursor where it was, silently.
  if (result != engine_code::kOk) return;
  RecentreOnEngineRecord();
  if (AfterScroll) AfterScroll(*this);
}

}  // namespace pellory::data
