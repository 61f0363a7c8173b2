// The C interface: tables, cursors, fields, blobs and filters.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine_error.h"
#include "engine_state.h"
#include "table_cipher.h"

using pellory::engine::ArgumentText;
using pellory::engine::CheckCursor;
using pellory::engine::EngineError;
using pellory::engine::Guarded;
using pellory::engine::State;
using pellory::engine::TableCursor;
using pellory::engine::TableFilter;

namespace {

bool IsParadoxDriver(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.empty() || lower == "paradox";
}

void CheckPassword(const pellory::engine::TableFile& table) {
  const std::uint32_t value = table.header().encryption;
  if (value == 0) return;
  for (const auto& password : State().session.passwords)
    if (pellory::engine::PasswordChecksum(password) == value) return;
  throw EngineError(PEL_PASSWORD_NEEDED, table.path());
}

TableCursor& Table(pel_cursor* cursor) {
  return *CheckCursor(cursor)->table;
}

const std::uint8_t* Bytes(const void* record) {
  if (!record) throw EngineError(PEL_INVALID_ARGUMENT, {}, "no record buffer");
  return static_cast<const std::uint8_t*>(record);
}

TableFilter* FilterOf(TableCursor& table, pel_filter* filter) {
  auto* own = reinterpret_cast<TableFilter*>(filter);
  if (!filter || !table.OwnsFilter(own)) throw EngineError(PEL_INVALID_HANDLE, "filter");
  return own;
}

pel_result Answer(pel_result code, TableCursor& table) {
  if (code != PEL_OK) throw EngineError(code, table.path());
  return code;
}

}  // namespace

extern "C" {

pel_result pel_table_open(pel_database* database, const pel_table_request* request,
                          pel_cursor** cursor) {
  return Guarded(true, [&] {
    pellory::engine::CheckDatabase(database);
    if (!request || !cursor || ArgumentText(request->table_name).empty())
      throw EngineError(PEL_INVALID_ARGUMENT, {}, "no table name");
    if (!IsParadoxDriver(ArgumentText(request->driver_name)))
      throw EngineError(PEL_NOT_SUPPORTED, ArgumentText(request->driver_name), "unknown driver");
    if (request->open_mode > PEL_OPEN_READ_WRITE) throw EngineError(PEL_INVALID_ARGUMENT, {});
    const std::string path =
        pellory::engine::ResolveTablePath(database->directory, request->table_name);
    auto table = std::make_unique<pellory::engine::TableFile>(path);
    CheckPassword(*table);
    const bool readWrite = request->open_mode == PEL_OPEN_READ_WRITE;
    if (readWrite && (table->header().writeProtected || !table->Writable()))
      throw EngineError(PEL_ONLY_READABLE, path);
    table->Open(State().sharedTables);
    auto made = std::make_unique<pel_cursor>();
    made->database = database;
    made->table = std::make_unique<TableCursor>(std::move(table), readWrite);
    *cursor = made.get();
    database->cursors.insert(made.get());
    State().cursors.insert(made.release());
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_close(pel_cursor* cursor) {
  return Guarded(true, [&] {
    pellory::engine::CloseCursor(CheckCursor(cursor));
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_properties(pel_cursor* cursor, pel_cursor_info* info) {
  return Guarded(true, [&] {
    const auto found = Table(cursor).Info();
    if (!info) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *info = found;
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_fields(pel_cursor* cursor, pel_field_descriptor* fields, uint16_t capacity) {
  return Guarded(true, [&] {
    const auto& all = Table(cursor).Fields();
    if (!fields && capacity > 0) throw EngineError(PEL_INVALID_ARGUMENT, {});
    std::copy_n(all.begin(), std::min<std::size_t>(capacity, all.size()), fields);
    return pel_result{PEL_OK};
  });
}

pel_result pel_language_driver(pel_cursor* cursor, char* buffer, size_t size) {
  return Guarded(true, [&] {
    pellory::engine::CopyText(Table(cursor).codePage().Name(), buffer, size);
    return pel_result{PEL_OK};
  });
}

static pel_result Convert(pel_cursor* cursor, const char* text, size_t length, char* out,
                          size_t out_size, size_t* out_length, bool toUtf8) {
  return Guarded(true, [&] {
    const auto& page = Table(cursor).codePage();
    if (!text && length > 0) throw EngineError(PEL_INVALID_ARGUMENT, {});
    const std::string_view in(text ? text : "", length);
    const std::string converted = toUtf8 ? page.ToUtf8(in) : page.FromUtf8(in);
    if (out_length) *out_length = converted.size();
    if (!out || converted.size() + 1 > out_size)
      throw EngineError(PEL_BUFFER_TOO_SMALL, {},
                        std::to_string(converted.size() + 1) + " bytes needed");
    std::memcpy(out, converted.data(), converted.size());
    out[converted.size()] = 0;
    return pel_result{PEL_OK};
  });
}

pel_result pel_text_to_utf8(pel_cursor* cursor, const char* text, size_t length, char* out,
                            size_t out_size, size_t* out_length) {
  return Convert(cursor, text, length, out, out_size, out_length, true);
}

pel_result pel_text_from_utf8(pel_cursor* cursor, const char* text, size_t length, char* out,
                              size_t out_size, size_t* out_length) {
  return Convert(cursor, text, length, out, out_size, out_length, false);
}

pel_result pel_cursor_to_start(pel_cursor* cursor) {
  return Guarded(true, [&] {
    Table(cursor).ToStart();
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_to_end(pel_cursor* cursor) {
  return Guarded(true, [&] {
    Table(cursor).ToEnd();
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_to_sequence(pel_cursor* cursor, uint32_t sequence) {
  return Guarded(true, [&] {
    Table(cursor).ToSequence(sequence);
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_sequence(pel_cursor* cursor, uint32_t* sequence) {
  return Guarded(true, [&] {
    const std::uint32_t found = Table(cursor).Sequence();
    if (!sequence) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *sequence = found;
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_count(pel_cursor* cursor, uint32_t* count) {
  return Guarded(true, [&] {
    const std::uint32_t found = Table(cursor).Count();
    if (!count) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *count = found;
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_count_exact(pel_cursor* cursor, uint32_t* count) {
  return Guarded(true, [&] {
    if (!count) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *count = Table(cursor).CountPassing();
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_next(pel_cursor* cursor, void* record) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    return Answer(table.Next(static_cast<std::uint8_t*>(record)), table);
  });
}

pel_result pel_cursor_prior(pel_cursor* cursor, void* record) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    return Answer(table.Prior(static_cast<std::uint8_t*>(record)), table);
  });
}

pel_result pel_cursor_current(pel_cursor* cursor, void* record) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    return Answer(table.Current(static_cast<std::uint8_t*>(record)), table);
  });
}

pel_result pel_cursor_bookmark(pel_cursor* cursor, void* bookmark) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    if (!bookmark) throw EngineError(PEL_INVALID_ARGUMENT, {});
    table.Bookmark(static_cast<std::uint8_t*>(bookmark));
    return pel_result{PEL_OK};
  });
}

pel_result pel_cursor_to_bookmark(pel_cursor* cursor, const void* bookmark) {
  return Guarded(true, [&] {
    Table(cursor).ToBookmark(Bytes(bookmark));
    return pel_result{PEL_OK};
  });
}

pel_result pel_field_get(pel_cursor* cursor, uint16_t field, const void* record, void* value,
                         size_t capacity, int* blank) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    const pel_field_descriptor& d = table.Field(field);
    // No value is longer than an alpha column of 255 characters and its zero.
    std::uint8_t scratch[256];
    const bool isBlank = table.FieldValue(field, Bytes(record), scratch);
    if (value) {
      if (capacity < d.value_size)
        throw EngineError(PEL_BUFFER_TOO_SMALL, table.path(),
                          std::to_string(d.value_size) + " bytes needed");
      std::memcpy(value, scratch, d.value_size);
    }
    if (blank) *blank = isBlank ? 1 : 0;
    return pel_result{PEL_OK};
  });
}

pel_result pel_blob_open(pel_cursor* cursor, uint16_t field, const void* record) {
  return Guarded(true, [&] {
    Table(cursor).BlobOpen(field, Bytes(record));
    return pel_result{PEL_OK};
  });
}

pel_result pel_blob_size(pel_cursor* cursor, uint16_t field, const void* record, uint32_t* size) {
  return Guarded(true, [&] {
    const std::uint32_t found = Table(cursor).BlobSize(field, Bytes(record));
    if (!size) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *size = found;
    return pel_result{PEL_OK};
  });
}

pel_result pel_blob_read(pel_cursor* cursor, uint16_t field, const void* record, uint32_t offset,
                         uint32_t count, void* bytes, uint32_t* got) {
  if (got) *got = 0;
  return Guarded(true, [&] {
    if (!got || (!bytes && count > 0)) throw EngineError(PEL_INVALID_ARGUMENT, {});
    // End of blob is an answer, not a failure: no error stack for it.
    return Table(cursor).BlobRead(field, Bytes(record), offset, count,
                                  static_cast<std::uint8_t*>(bytes), got);
  });
}

pel_result pel_blob_free(pel_cursor* cursor, uint16_t field, const void* record) {
  return Guarded(true, [&] {
    Bytes(record);
    Table(cursor).BlobFree(field);
    return pel_result{PEL_OK};
  });
}

pel_result pel_filter_add(pel_cursor* cursor, const void* expression, size_t size,
                          pel_filter** filter) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    if (!expression || !filter || size == 0)
      throw EngineError(PEL_INVALID_ARGUMENT, table.path(), "no filter expression");
    const auto* bytes = static_cast<const std::uint8_t*>(expression);
    *filter = reinterpret_cast<pel_filter*>(table.AddFilter({bytes, size}));
    return pel_result{PEL_OK};
  });
}

pel_result pel_filter_activate(pel_cursor* cursor, pel_filter* filter) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    FilterOf(table, filter)->active = true;
    return pel_result{PEL_OK};
  });
}

pel_result pel_filter_deactivate(pel_cursor* cursor, pel_filter* filter) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    FilterOf(table, filter)->active = false;
    return pel_result{PEL_OK};
  });
}

pel_result pel_filter_drop(pel_cursor* cursor, pel_filter* filter) {
  return Guarded(true, [&] {
    TableCursor& table = Table(cursor);
    table.DropFilter(FilterOf(table, filter));
    return pel_result{PEL_OK};
  });
}

}  // extern "C"
