// The engine calls on the engine library's C interface, reached through the
// program's loader.
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "pellory/data/engine_loader.h"
#include "pellory/data/session.h"
#include "pellory/engine.h"

namespace pellory::data {
namespace {

using Entries = EngineEntries;

// Calls one entry of the engine, loading the library first if need be; a
// failed load answers the loader's code.
template <typename Fn, typename... Args>
EngineResult Call(Fn Entries::*entry, Args&&... args) {
  const Entries* entries = nullptr;
  const pel_result loaded = LoadEngine(&entries);
  if (loaded != PEL_OK) return loaded;
  return (entries->*entry)(std::forward<Args>(args)...);
}

template <std::size_t N>
std::string FromArray(const char (&text)[N]) {
  return std::string(text, strnlen(text, N));
}

class LoadedEngine final : public EngineCalls {
 public:
  EngineResult Initialise(const std::string& language) override {
    pel_init_options options{};
    options.interface_version = PEL_INTERFACE_VERSION;
    std::strncpy(options.language, language.c_str(), sizeof options.language - 1);
    return Call(&Entries::engine_init, &options);
  }
  EngineResult Exit() override { return Call(&Entries::engine_exit); }
  EngineResult CurrentSession(EngineHandle& session) override {
    pel_session* s = nullptr;
    const EngineResult r = Call(&Entries::session_current, &s);
    session = s;
    return r;
  }
  EngineResult SetCurrentSession(EngineHandle session) override {
    return Call(&Entries::session_set_current, static_cast<pel_session*>(session));
  }
  EngineResult AddPassword(const std::string& p) override {
    return Call(&Entries::password_add, p.c_str());
  }
  EngineResult RemovePassword(const std::string& p) override {
    return Call(&Entries::password_remove, p.c_str());
  }
  EngineResult RemoveAllPasswords() override { return Call(&Entries::password_remove_all); }
  EngineResult SetPrivateDirectory(const std::string& path) override {
    return Call(&Entries::private_dir_set, path.c_str());
  }
  EngineResult SetNetFileDirectory(const std::string& path) override {
    return Call(&Entries::net_dir_set, path.c_str());
  }
  EngineResult SetConfigurationMode(int mode) override {
    return Call(&Entries::config_mode_set, static_cast<std::uint16_t>(mode));
  }
  EngineResult RegisterCallbacks() override {
    EngineResult r = Call(&Entries::callback_register, PEL_CALLBACK_SERVER_CALL, &Ignore, nullptr);
    if (r == PEL_OK) r = Call(&Entries::callback_register, PEL_CALLBACK_LOGIN, &Ignore, nullptr);
    return r;
  }
  EngineResult RemoveCallbacks() override {
    Call(&Entries::callback_remove, PEL_CALLBACK_SERVER_CALL);
    return Call(&Entries::callback_remove, PEL_CALLBACK_LOGIN);
  }

  EngineResult OpenDatabase(const std::string& name, const std::string& password,
                            EngineHandle& database) override {
    pel_database* db = nullptr;
    const EngineResult r = Call(&Entries::database_open, name.c_str(), nullptr, PEL_OPEN_READ_WRITE,
                                PEL_SHARE_SHARED, password.c_str(), &db);
    database = db;
    return r;
  }
  EngineResult DriverType(EngineHandle database, std::string& type) override {
    char buffer[64] = {};
    const EngineResult r = Call(&Entries::database_driver_type,
                                static_cast<pel_database*>(database), buffer, sizeof buffer);
    type = FromArray(buffer);
    return r;
  }
  EngineResult CloseDatabase(EngineHandle database) override {
    return Call(&Entries::database_close, static_cast<pel_database*>(database));
  }

  EngineResult OpenTable(const TableOpenRequest& request, EngineHandle& cursor) override {
    pel_table_request r{};
    r.table_name = request.tableName.c_str();
    r.driver_name = request.driverName.c_str();
    r.index_id = static_cast<std::uint16_t>(request.indexId);
    r.open_mode = request.readOnly ? PEL_OPEN_READ_ONLY : PEL_OPEN_READ_WRITE;
    r.share_mode = request.exclusive ? PEL_SHARE_EXCLUSIVE : PEL_SHARE_SHARED;
    r.translate = 1;
    pel_cursor* c = nullptr;
    const EngineResult result =
        Call(&Entries::table_open, static_cast<pel_database*>(request.database), &r, &c);
    cursor = c;
    return result;
  }
  EngineResult CloseCursor(EngineHandle cursor) override {
    {
      std::lock_guard<std::mutex> guard(lock_);
      valueSizes_.erase(cursor);
    }
    return Call(&Entries::cursor_close, Cursor(cursor));
  }
  EngineResult Properties(EngineHandle cursor, CursorProperties& properties) override {
    pel_cursor_info info{};
    const EngineResult r = Call(&Entries::cursor_properties, Cursor(cursor), &info);
    properties.recordSize = static_cast<int>(info.record_size);
    properties.bookmarkSize = info.bookmark_size;
    properties.writable = info.writable != 0;
    properties.numbering = info.numbering == PEL_NUMBERING_SEQUENCE   ? RecordNumbering::Sequence
                           : info.numbering == PEL_NUMBERING_PHYSICAL ? RecordNumbering::Physical
                                                                      : RecordNumbering::None;
    return r;
  }
  EngineResult FieldDescriptors(EngineHandle cursor,
                                std::vector<ColumnDescriptor>& columns) override {
    pel_cursor_info info{};
    EngineResult r = Call(&Entries::cursor_properties, Cursor(cursor), &info);
    if (r != PEL_OK) return r;
    std::vector<pel_field_descriptor> fields(info.field_count);
    r = Call(&Entries::cursor_fields, Cursor(cursor), fields.data(), info.field_count);
    if (r != PEL_OK) return r;
    std::vector<std::size_t> sizes(fields.size() + 1, 0);
    columns.clear();
    for (const pel_field_descriptor& f : fields) {
      columns.push_back(
          {f.number, FromArray(f.name), f.logical_type, f.subtype, f.units1, f.length, f.units2});
      if (f.number < sizes.size()) sizes[f.number] = f.value_size;
    }
    std::lock_guard<std::mutex> guard(lock_);
    valueSizes_[cursor] = std::move(sizes);
    return PEL_OK;
  }
  EngineResult ToProgramText(EngineHandle cursor, const std::string& text,
                             std::string& converted) override {
    // A code page character becomes at most 4 UTF-8 bytes.
    std::string out(text.size() * 4 + 1, '\0');
    std::size_t length = 0;
    const EngineResult r = Call(&Entries::text_to_utf8, Cursor(cursor), text.data(), text.size(),
                                out.data(), out.size(), &length);
    out.resize(r == PEL_OK ? std::min(length, out.size()) : 0);
    converted = std::move(out);
    return r;
  }
  EngineResult FromProgramText(EngineHandle cursor, const std::string& text,
                               std::string& converted) override {
    // A UTF-8 character never becomes more bytes in a single-byte code page.
    std::string out(text.size() + 1, '\0');
    std::size_t length = 0;
    const EngineResult r = Call(&Entries::text_from_utf8, Cursor(cursor), text.data(), text.size(),
                                out.data(), out.size(), &length);
    out.resize(r == PEL_OK ? std::min(length, out.size()) : 0);
    converted = std::move(out);
    return r;
  }
  EngineResult GoToStart(EngineHandle cursor) override {
    return Call(&Entries::cursor_to_start, Cursor(cursor));
  }
  EngineResult GoToEnd(EngineHandle cursor) override {
    return Call(&Entries::cursor_to_end, Cursor(cursor));
  }
  EngineResult ReadRecord(EngineHandle cursor, RecordRead which,
                          std::vector<std::uint8_t>& record) override {
    void* data = record.empty() ? nullptr : record.data();
    switch (which) {
      case RecordRead::Next:
        return Call(&Entries::cursor_next, Cursor(cursor), data);
      case RecordRead::Prior:
        return Call(&Entries::cursor_prior, Cursor(cursor), data);
      case RecordRead::Current:
        break;
    }
    return Call(&Entries::cursor_current, Cursor(cursor), data);
  }
  EngineResult GetBookmark(EngineHandle cursor, std::vector<std::uint8_t>& bookmark) override {
    return Call(&Entries::cursor_bookmark, Cursor(cursor), bookmark.data());
  }
  EngineResult GoToBookmark(EngineHandle cursor,
                            const std::vector<std::uint8_t>& bookmark) override {
    return Call(&Entries::cursor_to_bookmark, Cursor(cursor), bookmark.data());
  }
  EngineResult RecordNumber(EngineHandle cursor, long& number) override {
    std::uint32_t sequence = 0;
    const EngineResult r = Call(&Entries::cursor_sequence, Cursor(cursor), &sequence);
    number = static_cast<long>(sequence);
    return r;
  }
  EngineResult GoToSequenceNumber(EngineHandle cursor, long number) override {
    if (number < 1 || number > 0xFFFFFFFFL) return PEL_NO_SUCH_RECORD;
    return Call(&Entries::cursor_to_sequence, Cursor(cursor), static_cast<std::uint32_t>(number));
  }
  EngineResult CountRecords(EngineHandle cursor, long& count) override {
    std::uint32_t n = 0;
    const EngineResult r = Call(&Entries::cursor_count, Cursor(cursor), &n);
    count = static_cast<long>(n);
    return r;
  }
  EngineResult CountRecordsAgain(EngineHandle cursor, long& count) override {
    std::uint32_t n = 0;
    const EngineResult r = Call(&Entries::cursor_count_exact, Cursor(cursor), &n);
    count = static_cast<long>(n);
    return r;
  }
  EngineResult GetField(EngineHandle cursor, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::string& value, bool& blank) override {
    std::string bytes(ValueSize(cursor, fieldNo), '\0');
    int isBlank = 1;
    const EngineResult r =
        Call(&Entries::field_get, Cursor(cursor), static_cast<std::uint16_t>(fieldNo),
             record.data(), bytes.data(), bytes.size(), &isBlank);
    blank = isBlank != 0;
    value = std::move(bytes);
    return r;
  }
  EngineResult OpenBlob(EngineHandle cursor, int fieldNo,
                        std::vector<std::uint8_t>& record) override {
    return Call(&Entries::blob_open, Cursor(cursor), static_cast<std::uint16_t>(fieldNo),
                record.data());
  }
  EngineResult BlobSize(EngineHandle cursor, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::uint64_t& size) override {
    std::uint32_t n = 0;
    const EngineResult r = Call(&Entries::blob_size, Cursor(cursor),
                                static_cast<std::uint16_t>(fieldNo), record.data(), &n);
    size = n;
    return r;
  }
  EngineResult ReadBlob(EngineHandle cursor, int fieldNo, const std::vector<std::uint8_t>& record,
                        std::uint64_t position, std::size_t count, std::string& bytes) override {
    if (position > 0xFFFFFFFFULL) return PEL_END_OF_BLOB;
    const auto want = static_cast<std::uint32_t>(std::min<std::size_t>(count, 0xFFFFFFFFU));
    bytes.assign(want, '\0');
    std::uint32_t got = 0;
    const EngineResult r =
        Call(&Entries::blob_read, Cursor(cursor), static_cast<std::uint16_t>(fieldNo),
             record.data(), static_cast<std::uint32_t>(position), want, bytes.data(), &got);
    bytes.resize(std::min(got, want));
    return r;
  }
  EngineResult FreeBlob(EngineHandle cursor, int fieldNo,
                        std::vector<std::uint8_t>& record) override {
    return Call(&Entries::blob_free, Cursor(cursor), static_cast<std::uint16_t>(fieldNo),
                record.data());
  }
  EngineResult AddFilter(EngineHandle cursor, const std::vector<std::uint8_t>& expression,
                         EngineHandle& filter) override {
    pel_filter* f = nullptr;
    const EngineResult r =
        Call(&Entries::filter_add, Cursor(cursor), expression.data(), expression.size(), &f);
    filter = f;
    return r;
  }
  EngineResult ActivateFilter(EngineHandle cursor, EngineHandle filter) override {
    return Call(&Entries::filter_activate, Cursor(cursor), static_cast<pel_filter*>(filter));
  }
  EngineResult DeactivateFilter(EngineHandle cursor, EngineHandle filter) override {
    return Call(&Entries::filter_deactivate, Cursor(cursor), static_cast<pel_filter*>(filter));
  }
  EngineResult DropFilter(EngineHandle cursor, EngineHandle filter) override {
    return Call(&Entries::filter_drop, Cursor(cursor), static_cast<pel_filter*>(filter));
  }
  std::string ErrorText(EngineResult code) override {
    char buffer[512] = {};
    if (Call(&Entries::error_text, static_cast<pel_result>(code), buffer, sizeof buffer) != PEL_OK)
      return {};
    return FromArray(buffer);
  }
  std::vector<EngineErrorEntry> ErrorStack() override {
    std::vector<EngineErrorEntry> entries;
    // The stack ends at an entry with code 0; a failing call (the loader's
    // 2A06 included) ends it as well.
    for (std::uint16_t i = 0; i < 64; ++i) {
      pel_error_entry entry{};
      if (Call(&Entries::error_stack_entry, i, &entry) != PEL_OK || entry.code == 0) break;
      entries.push_back({entry.code, entry.native_code, FromArray(entry.context)});
    }
    return entries;
  }

 private:
  static int Ignore(std::uint16_t, void*, void*) { return 0; }
  static pel_cursor* Cursor(EngineHandle handle) { return static_cast<pel_cursor*>(handle); }

  std::size_t ValueSize(EngineHandle cursor, int fieldNo) {
    std::lock_guard<std::mutex> guard(lock_);
    const auto it = valueSizes_.find(cursor);
    if (it == valueSizes_.end() || fieldNo < 0 ||
        static_cast<std::size_t>(fieldNo) >= it->second.size())
      return 0;
    return it->second[static_cast<std::size_t>(fieldNo)];
  }

  std::mutex lock_;
  std::map<EngineHandle, std::vector<std::size_t>> valueSizes_;
};

}  // namespace

std::shared_ptr<EngineCalls> MakeLoadedEngine() {
  return std::make_shared<LoadedEngine>();
}

}  // namespace pellory::data
