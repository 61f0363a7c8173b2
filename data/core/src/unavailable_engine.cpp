// The engine as the program finds it when no engine library is linked in:
// every call answers "not found", as a missing library does.
#include "pellory/data/session.h"

namespace pellory::data {
namespace {

constexpr EngineResult kNotFound = 0x2108;

class UnavailableEngine final : public EngineCalls {
 public:
  EngineResult Initialise(const std::string&) override { return kNotFound; }
  EngineResult Exit() override { return kNotFound; }
  EngineResult CurrentSession(EngineHandle&) override { return kNotFound; }
  EngineResult SetCurrentSession(EngineHandle) override { return kNotFound; }
  EngineResult AddPassword(const std::string&) override { return kNotFound; }
  EngineResult RemovePassword(const std::string&) override { return kNotFound; }
  EngineResult RemoveAllPasswords() override { return kNotFound; }
  EngineResult SetPrivateDirectory(const std::string&) override { return kNotFound; }
  EngineResult SetNetFileDirectory(const std::string&) override { return kNotFound; }
  EngineResult SetConfigurationMode(int) override { return kNotFound; }
  EngineResult RegisterCallbacks() override { return kNotFound; }
  EngineResult RemoveCallbacks() override { return kNotFound; }
  EngineResult OpenDatabase(const std::string&, const std::string&, EngineHandle&) override {
    return kNotFound;
  }
  EngineResult DriverType(EngineHandle, std::string&) override { return kNotFound; }
  EngineResult CloseDatabase(EngineHandle) override { return kNotFound; }
  EngineResult OpenTable(const TableOpenRequest&, EngineHandle&) override { return kNotFound; }
  EngineResult CloseCursor(EngineHandle) override { return kNotFound; }
  EngineResult Properties(EngineHandle, CursorProperties&) override { return kNotFound; }
  EngineResult FieldDescriptors(EngineHandle, std::vector<ColumnDescriptor>&) override {
    return kNotFound;
  }
  EngineResult ToProgramText(EngineHandle, const std::string&, std::string&) override {
    return kNotFound;
  }
  EngineResult FromProgramText(EngineHandle, const std::string&, std::string&) override {
    return kNotFound;
  }
  EngineResult GoToStart(EngineHandle) override { return kNotFound; }
  EngineResult GoToEnd(EngineHandle) override { return kNotFound; }
  EngineResult ReadRecord(EngineHandle, RecordRead, std::vector<std::uint8_t>&) override {
    return kNotFound;
  }
  EngineResult GetBookmark(EngineHandle, std::vector<std::uint8_t>&) override { return kNotFound; }
  EngineResult GoToBookmark(EngineHandle, const std::vector<std::uint8_t>&) override {
    return kNotFound;
  }
  EngineResult RecordNumber(EngineHandle, long&) override { return kNotFound; }
  EngineResult GoToSequenceNumber(EngineHandle, long) override { return kNotFound; }
  EngineResult CountRecords(EngineHandle, long&) override { return kNotFound; }
  EngineResult CountRecordsAgain(EngineHandle, long&) override { return kNotFound; }
  EngineResult GetField(EngineHandle, int, const std::vector<std::uint8_t>&, std::string&,
                        bool&) override {
    return kNotFound;
  }
  EngineResult OpenBlob(EngineHandle, int, std::vector<std::uint8_t>&) override {
    return kNotFound;
  }
  EngineResult BlobSize(EngineHandle, int, const std::vector<std::uint8_t>&,
                        std::uint64_t&) override {
    return kNotFound;
  }
  EngineResult ReadBlob(EngineHandle, int, const std::vector<std::uint8_t>&, std::uint64_t,
                        std::size_t, std::string&) override {
    return kNotFound;
  }
  EngineResult FreeBlob(EngineHandle, int, std::vector<std::uint8_t>&) override {
    return kNotFound;
  }
  EngineResult AddFilter(EngineHandle, const std::vector<std::uint8_t>&, EngineHandle&) override {
    return kNotFound;
  }
  EngineResult ActivateFilter(EngineHandle, EngineHandle) override { return kNotFound; }
  EngineResult DeactivateFilter(EngineHandle, EngineHandle) override { return kNotFound; }
  EngineResult DropFilter(EngineHandle, EngineHandle) override { return kNotFound; }
  std::string ErrorText(EngineResult) override { return {}; }
  std::vector<EngineErrorEntry> ErrorStack() override { return {}; }
};

}  // namespace

std::shared_ptr<EngineCalls> MakeUnavailableEngine() {
  return std::make_shared<UnavailableEngine>();
}

}  // namespace pellory::data
