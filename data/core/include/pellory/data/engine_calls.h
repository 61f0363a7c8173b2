// The database engine as the data layer calls it. Every call answers the
// engine's result code, 0 for success. The program's implementation goes
// through the run-time loaded engine library; tests put in their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pellory/data/columns.h"
#include "pellory/data/errors.h"

namespace pellory::data {

using EngineHandle = void*;
using EngineResult = unsigned;

// Result codes the data layer acts on.
namespace engine_code {
inline constexpr EngineResult kOk = 0;
inline constexpr EngineResult kAtBeginning = 0x2201;
inline constexpr EngineResult kAtEnd = 0x2202;
inline constexpr EngineResult kEndOfBlob = 0x2207;
inline constexpr EngineResult kNothingRead = 0x270E;
inline constexpr EngineResult kNeedsPassword = 0x2902;
inline constexpr EngineResult kAlreadyInitialised = 0x2A07;
inline constexpr EngineResult kReadOnlyTable = 0x2A0B;
}  // namespace engine_code

enum class RecordNumbering { None, Physical, Sequence };

struct CursorProperties {
  int recordSize = 0;
  int bookmarkSize = 0;
  bool writable = false;
  RecordNumbering numbering = RecordNumbering::None;
};

struct TableOpenRequest {
  EngineHandle database = nullptr;
  std::string tableName;
  std::string driverName;
  bool readOnly = false;
  bool exclusive = false;
  unsigned indexId = 0;
};

enum class RecordRead { Next, Prior, Current };

class EngineCalls {
 public:
  virtual ~EngineCalls() = default;

  // Session.
  virtual EngineResult Initialise(const std::string& language) = 0;
  virtual EngineResult Exit() = 0;
  virtual EngineResult CurrentSession(EngineHandle& session) = 0;
  virtual EngineResult SetCurrentSession(EngineHandle session) = 0;
  virtual EngineResult AddPassword(const std::string& password) = 0;
  virtual EngineResult RemovePassword(const std::string& password) = 0;
  virtual EngineResult RemoveAllPasswords() = 0;
  virtual EngineResult SetPrivateDirectory(const std::string& path) = 0;
  virtual EngineResult SetNetFileDirectory(const std::string& path) = 0;
  virtual EngineResult SetConfigurationMode(int mode) = 0;
  virtual EngineResult RegisterCallbacks() = 0;
  virtual EngineResult RemoveCallbacks() = 0;

  // Databases.
  virtual EngineResult OpenDatabase(const std::string& name, const std::string& password,
                                    EngineHandle& database) = 0;
  virtual EngineResult DriverType(EngineHandle database, std::string& type) = 0;
  virtual EngineResult CloseDatabase(EngineHandle database) = 0;

  // Cursors.
  virtual EngineResult OpenTable(const TableOpenRequest& request, EngineHandle& cursor) = 0;
  virtual EngineResult CloseCursor(EngineHandle cursor) = 0;
  virtual EngineResult Properties(EngineHandle cursor, CursorProperties& properties) = 0;
  virtual EngineResult FieldDescriptors(EngineHandle cursor,
                                        std::vector<ColumnDescriptor>& columns) = 0;
  // Converts text of the cursor's table to the program's UTF-8.
  virtual EngineResult ToProgramText(EngineHandle cursor, const std::string& text,
                                     std::string& converted) = 0;
  // Converts the program's UTF-8 to text of the cursor's table.
  virtual EngineResult FromProgramText(EngineHandle cursor, const std::string& text,
                                       std::string& converted) = 0;
  virtual EngineResult GoToStart(EngineHandle cursor) = 0;
  virtual EngineResult GoToEnd(EngineHandle cursor) = 0;
  virtual EngineResult ReadRecord(EngineHandle cursor, RecordRead which,
                                  std::vector<std::uint8_t>& record) = 0;
  virtual EngineResult GetBookmark(EngineHandle cursor, std::vector<std::uint8_t>& bookmark) = 0;
  virtual EngineResult GoToBookmark(EngineHandle cursor,
                                    const std::vector<std::uint8_t>& bookmark) = 0;
  // The current record's number by the table's numbering.
  virtual EngineResult RecordNumber(EngineHandle cursor, long& number) = 0;
  virtual EngineResult GoToSequenceNumber(EngineHandle cursor, long number) = 0;
  virtual EngineResult CountRecords(EngineHandle cursor, long& count) = 0;
  virtual EngineResult CountRecordsAgain(EngineHandle cursor, long& count) = 0;
  virtual EngineResult GetField(EngineHandle cursor, int fieldNo,
                                const std::vector<std::uint8_t>& record, std::string& value,
                                bool& blank) = 0;

  // Blobs of the record in the given buffer.
  virtual EngineResult OpenBlob(EngineHandle cursor, int fieldNo,
                                std::vector<std::uint8_t>& record) = 0;
  virtual EngineResult BlobSize(EngineHandle cursor, int fieldNo,
                                const std::vector<std::uint8_t>& record, std::uint64_t& size) = 0;
  virtual EngineResult ReadBlob(EngineHandle cursor, int fieldNo,
                                const std::vector<std::uint8_t>& record, std::uint64_t position,
                                std::size_t count, std::string& bytes) = 0;
  virtual EngineResult FreeBlob(EngineHandle cursor, int fieldNo,
                                std::vector<std::uint8_t>& record) = 0;

  // Filters.
  virtual EngineResult AddFilter(EngineHandle cursor, const std::vector<std::uint8_t>& expression,
                                 EngineHandle& filter) = 0;
  virtual EngineResult ActivateFilter(EngineHandle cursor, EngineHandle filter) = 0;
  virtual EngineResult DeactivateFilter(EngineHandle cursor, EngineHandle filter) = 0;
  virtual EngineResult DropFilter(EngineHandle cursor, EngineHandle filter) = 0;

  // Errors.
  virtual std::string ErrorText(EngineResult code) = 0;
  virtual std::vector<EngineErrorEntry> ErrorStack() = 0;
};

}  // namespace pellory::data
