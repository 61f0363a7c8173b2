// The program's engine with every record read counted, so that a test can
// see how many records a move reads.
#pragma once

#include <memory>

#include "pellory/data/engine_calls.h"

namespace gridtest {

using namespace pellory::data;

class ReadCountingEngine final : public EngineCalls {
 public:
  explicit ReadCountingEngine(std::shared_ptr<EngineCalls> inner) : inner_(std::move(inner)) {}

  long reads = 0;

  EngineResult Initialise(const std::string& language) override {
    return inner_->Initialise(language);
  }
  EngineResult Exit() override { return inner_->Exit(); }
  EngineResult CurrentSession(EngineHandle& session) override {
    return inner_->CurrentSession(session);
  }
  EngineResult SetCurrentSession(EngineHandle session) override {
    return inner_->SetCurrentSession(session);
  }
  EngineResult AddPassword(const std::string& password) override {
    return inner_->AddPassword(password);
  }
  EngineResult RemovePassword(const std::string& password) override {
    return inner_->RemovePassword(password);
  }
  EngineResult RemoveAllPasswords() override { return inner_->RemoveAllPasswords(); }
  EngineResult SetPrivateDirectory(const std::string& path) override {
    return inner_->SetPrivateDirectory(path);
  }
  EngineResult SetNetFileDirectory(const std::string& path) override {
    return inner_->SetNetFileDirectory(path);
  }
  EngineResult SetConfigurationMode(int mode) override {
    return inner_->SetConfigurationMode(mode);
  }
  EngineResult RegisterCallbacks() override { return inner_->RegisterCallbacks(); }
  EngineResult RemoveCallbacks() override { return inner_->RemoveCallbacks(); }
  EngineResult OpenDatabase(const std::string& name, const std::string& password,
                            EngineHandle& database) override {
    return inner_->OpenDatabase(name, password, database);
  }
  EngineResult DriverType(EngineHandle database, std::string& type) override {
    return inner_->DriverType(database, type);
  }
  EngineResult CloseDatabase(EngineHandle database) override {
    return inner_->CloseDatabase(database);
  }
  EngineResult OpenTable(const TableOpenRequest& request, EngineHandle& cursor) override {
    return inner_->OpenTable(request, cursor);
  }
  EngineResult CloseCursor(EngineHandle cursor) override { return inner_->CloseCursor(cursor); }
  EngineResult Properties(EngineHandle cursor, CursorProperties& properties) override {
    return inner_->Properties(cursor, properties);
  }
  EngineResult FieldDescriptors(EngineHandle cursor,
                                std::vector<ColumnDescriptor>& columns) override {
    return inner_->FieldDescriptors(cursor, columns);
  }
  EngineResult ToProgramText(EngineHandle cursor, const std::string& text,
                             std::string& converted) override {
    return inner_->ToProgramText(cursor, text, converted);
  }
  EngineResult FromProgramText(EngineHandle cursor, const std::string& text,
                               std::string& converted) override {
    return inner_->FromProgramText(cursor, text, converted);
  }
  EngineResult GoToStart(EngineHandle cursor) override { return inner_->GoToStart(cursor); }
  EngineResult GoToEnd(EngineHandle cursor) override { return inner_->GoToEnd(cursor); }
  EngineResult ReadRecord(EngineHandle cursor, RecordRead which,
                          std::vector<std::uint8_t>& record) override {
    ++reads;
    return inner_->ReadRecord(cursor, which, record);
  }
  EngineResult GetBookmark(EngineHandle cursor, std::vector<std::uint8_t>& bookmark) override {
    return inner_->GetBookmark(cursor, bookmark);
  }
  EngineResult GoToBookmark(EngineHandle cursor,
                            const std::vector<std::uint8_t>& bookmark) override {
    return inner_->GoToBookmark(cursor, bookmark);
  }
  EngineResult RecordNumber(EngineHandle cursor, long& number) override {
    return inner_->RecordNumber(cursor, number);
  }
  EngineResult GoToSequenceNumber(EngineHandle cursor, long number) override {
    return inner_->GoToSequenceNumber(cursor, number);
  }
  EngineResult CountRecords(EngineHandle cursor, long& count) override {
    return inner_->CountRecords(cursor, count);
  }
  EngineResult CountRecordsAgain(EngineHandle cursor, long& count) override {
    return inner_->CountRecordsAgain(cursor, count);
  }
  EngineResult GetField(EngineHandle cursor, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::string& value, bool& blank) override {
    return inner_->GetField(cursor, fieldNo, record, value, blank);
  }
  EngineResult OpenBlob(EngineHandle cursor, int fieldNo,
                        std::vector<std::uint8_t>& record) override {
    return inner_->OpenBlob(cursor, fieldNo, record);
  }
  EngineResult BlobSize(EngineHandle cursor, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::uint64_t& size) override {
    return inner_->BlobSize(cursor, fieldNo, record, size);
  }
  EngineResult ReadBlob(EngineHandle cursor, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::uint64_t position, std::size_t count, std::string& bytes) override {
    return inner_->ReadBlob(cursor, fieldNo, record, position, count, bytes);
  }
  EngineResult FreeBlob(EngineHandle cursor, int fieldNo,
                        std::vector<std::uint8_t>& record) override {
    return inner_->FreeBlob(cursor, fieldNo, record);
  }
  EngineResult AddFilter(EngineHandle cursor, const std::vector<std::uint8_t>& expression,
                         EngineHandle& filter) override {
    return inner_->AddFilter(cursor, expression, filter);
  }
  EngineResult ActivateFilter(EngineHandle cursor, EngineHandle filter) override {
    return inner_->ActivateFilter(cursor, filter);
  }
  EngineResult DeactivateFilter(EngineHandle cursor, EngineHandle filter) override {
    return inner_->DeactivateFilter(cursor, filter);
  }
  EngineResult DropFilter(EngineHandle cursor, EngineHandle filter) override {
    return inner_->DropFilter(cursor, filter);
  }
  std::string ErrorText(EngineResult code) override { return inner_->ErrorText(code); }
  std::vector<EngineErrorEntry> ErrorStack() override { return inner_->ErrorStack(); }

 private:
  std::shared_ptr<EngineCalls> inner_;
};

}  // namespace gridtest
