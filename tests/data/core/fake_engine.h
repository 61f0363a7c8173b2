// An engine in memory behind the data layer's engine calls: one table of
// text and blob columns, optional password and read-only file, and a log of
// the calls that matter to the tests.
#pragma once

#include <algorithm>
#include <cstring>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "pellory/data/engine_calls.h"

namespace pellory::data::testing {

class FakeEngine : public EngineCalls {
 public:
  using Row = std::vector<std::optional<std::string>>;

  // Configuration.
  EngineResult initialiseAnswer = 0;
  std::vector<ColumnDescriptor> columns;
  std::vector<Row> rows;
  std::string tablePassword;  // empty: none needed
  bool fileReadOnly = false;
  std::map<EngineResult, std::string> texts;
  std::vector<EngineErrorEntry> stack;
  EngineResult countAnswer = 0;
  EngineResult failOpenTable = 0;

  // What happened.
  std::vector<std::string> log;
  std::vector<std::string> passwords;
  std::string privateDir;
  int blobReads = 0;
  int openCursors = 0;
  int openDatabases = 0;
  TableOpenRequest lastOpen;
  std::vector<std::vector<std::uint8_t>> expressions;

  static int Index(const std::vector<std::uint8_t>& bytes) {
    int index = 0;
    std::memcpy(&index, bytes.data(), sizeof index);
    return index;
  }
  static std::vector<std::uint8_t> Bytes(int index) {
    std::vector<std::uint8_t> out(sizeof index);
    std::memcpy(out.data(), &index, sizeof index);
    return out;
  }

  EngineResult Initialise(const std::string& language) override {
    log.push_back("initialise " + language);
    return initialiseAnswer;
  }
  EngineResult Exit() override {
    log.push_back("exit");
    return 0;
  }
  EngineResult CurrentSession(EngineHandle& session) override {
    session = this;
    return 0;
  }
  EngineResult SetCurrentSession(EngineHandle) override { return 0; }
  EngineResult AddPassword(const std::string& p) override {
    passwords.push_back(p);
    return 0;
  }
  EngineResult RemovePassword(const std::string& p) override {
    std::erase(passwords, p);
    return 0;
  }
  EngineResult RemoveAllPasswords() override {
    passwords.clear();
    return 0;
  }
  EngineResult SetPrivateDirectory(const std::string& path) override {
    privateDir = path;
    log.push_back("private " + path);
    return 0;
  }
  EngineResult SetNetFileDirectory(const std::string&) override { return 0; }
  EngineResult SetConfigurationMode(int mode) override {
    log.push_back("mode " + std::to_string(mode));
    return 0;
  }
  EngineResult RegisterCallbacks() override { return 0; }
  EngineResult RemoveCallbacks() override { return 0; }
  EngineResult OpenDatabase(const std::string& name, const std::string&,
                            EngineHandle& database) override {
    log.push_back("open database " + name);
    ++openDatabases;
    database = &openDatabases;
    return 0;
  }
  EngineResult DriverType(EngineHandle, std::string& type) override {
    type = "STANDARD";
    return 0;
  }
  EngineResult CloseDatabase(EngineHandle) override {
    log.push_back("close database");
    --openDatabases;
    return 0;
  }

  EngineResult OpenTable(const TableOpenRequest& request, EngineHandle& cursor) override {
    lastOpen = request;
    log.push_back(std::string("open table ") + request.tableName + " " + request.driverName +
                  (request.readOnly ? " read-only" : " read-write"));
    if (failOpenTable != 0) return failOpenTable;
    if (!tablePassword.empty() &&
        std::find(passwords.begin(), passwords.end(), tablePassword) == passwords.end())
      return engine_code::kNeedsPassword;
    if (fileReadOnly && !request.readOnly) return engine_code::kReadOnlyTable;
    ++openCursors;
    position = -1;
    cursor = &position;
    return 0;
  }
  EngineResult CloseCursor(EngineHandle) override {
    --openCursors;
    return 0;
  }
  EngineResult Properties(EngineHandle, CursorProperties& p) override {
    p.recordSize = 4;
    p.bookmarkSize = 4;
    p.writable = !lastOpen.readOnly;
    p.numbering = RecordNumbering::Sequence;
    return 0;
  }
  EngineResult FieldDescriptors(EngineHandle, std::vector<ColumnDescriptor>& out) override {
    out = columns;
    return 0;
  }
  // The table's code page: byte E9 is e-acute.
  EngineResult ToProgramText(EngineHandle, const std::string& text, std::string& out) override {
    out.clear();
    for (char c : text) out += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
    return 0;
  }
  EngineResult FromProgramText(EngineHandle, const std::string& text, std::string& out) override {
    out = text;
    return 0;
  }
  EngineResult GoToStart(EngineHandle) override {
    position = -1;
    return 0;
  }
  EngineResult GoToEnd(EngineHandle) override {
    position = static_cast<int>(rows.size());
    return 0;
  }
  EngineResult ReadRecord(EngineHandle, RecordRead which,
                          std::vector<std::uint8_t>& record) override {
    const int size = static_cast<int>(rows.size());
    int target = which == RecordRead::Next    ? position + 1
                 : which == RecordRead::Prior ? position - 1
                                              : position;
    if (target >= size) {
      position = size;
      return engine_code::kAtEnd;
    }
    if (target < 0) {
      position = -1;
      return engine_code::kAtBeginning;
    }
    position = target;
    record = Bytes(target);
    return 0;
  }
  EngineResult GetBookmark(EngineHandle, std::vector<std::uint8_t>& bookmark) override {
    bookmark = Bytes(position);
    return 0;
  }
  EngineResult GoToBookmark(EngineHandle, const std::vector<std::uint8_t>& bookmark) override {
    position = Index(bookmark);
    return 0;
  }
  EngineResult RecordNumber(EngineHandle, long& number) override {
    number = position + 1;
    return 0;
  }
  EngineResult GoToSequenceNumber(EngineHandle, long number) override {
    if (number < 1 || number > static_cast<long>(rows.size())) return 0x2205;
    position = static_cast<int>(number - 1);
    return 0;
  }
  EngineResult CountRecords(EngineHandle, long& count) override {
    count = static_cast<long>(rows.size());
    return countAnswer;
  }
  EngineResult CountRecordsAgain(EngineHandle, long& count) override {
    count = static_cast<long>(rows.size()) + 1000;
    return countAnswer == 0 ? 0 : 0x3E01;
  }
  EngineResult GetField(EngineHandle, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::string& value, bool& blank) override {
    const auto& cell =
        rows.at(static_cast<std::size_t>(Index(record))).at(static_cast<std::size_t>(fieldNo - 1));
    blank = !cell.has_value();
    value = cell.value_or("");
    return 0;
  }
  EngineResult OpenBlob(EngineHandle, int fieldNo, std::vector<std::uint8_t>& record) override {
    openBlob = &*rows.at(static_cast<std::size_t>(Index(record)))
                     .at(static_cast<std::size_t>(fieldNo - 1));
    return 0;
  }
  EngineResult BlobSize(EngineHandle, int, const std::vector<std::uint8_t>&,
                        std::uint64_t& size) override {
    size = openBlob->size();
    return 0;
  }
  EngineResult ReadBlob(EngineHandle, int, const std::vector<std::uint8_t>&, std::uint64_t at,
                        std::size_t count, std::string& bytes) override {
    ++blobReads;
    if (at >= openBlob->size()) return engine_code::kEndOfBlob;
    bytes = openBlob->substr(static_cast<std::size_t>(at), count);
    return at + count >= openBlob->size() ? engine_code::kEndOfBlob : 0;
  }
  EngineResult FreeBlob(EngineHandle, int, std::vector<std::uint8_t>&) override {
    openBlob = nullptr;
    return 0;
  }
  EngineResult AddFilter(EngineHandle, const std::vector<std::uint8_t>& expression,
                         EngineHandle& filter) override {
    expressions.push_back(expression);
    filters.push_back(std::string(expression.begin(), expression.end()));
    filter = &filters.back();
    log.push_back("add filter " + filters.back());
    return 0;
  }
  EngineResult ActivateFilter(EngineHandle, EngineHandle filter) override {
    log.push_back("activate " + *static_cast<std::string*>(filter));
    return 0;
  }
  EngineResult DeactivateFilter(EngineHandle, EngineHandle) override { return 0; }
  EngineResult DropFilter(EngineHandle, EngineHandle) override { return 0; }
  std::string ErrorText(EngineResult code) override {
    auto it = texts.find(code);
    return it == texts.end() ? std::string() : it->second;
  }
  std::vector<EngineErrorEntry> ErrorStack() override { return stack; }

 private:
  int position = -1;
  const std::string* openBlob = nullptr;
  std::list<std::string> filters;
};

}  // namespace pellory::data::testing
