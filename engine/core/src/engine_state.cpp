#include "engine_state.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <new>

#include "engine_error.h"

namespace pellory::engine {
namespace {

void SetEntry(pel_error_entry& entry, std::uint16_t code, const std::string& text) {
  entry.code = code;
  entry.native_code = 0;
  const std::size_t n = std::min(text.size(), sizeof entry.context - 1);
  std::memcpy(entry.context, text.data(), n);
  entry.context[n] = 0;
}

void Record(EngineState& state, const EngineError& error) {
  state.errors.clear();
  pel_error_entry entry{};
  SetEntry(entry, error.code(), error.context());
  state.errors.push_back(entry);
  if (!error.detail().empty()) {
    SetEntry(entry, error.code(), error.detail());
    state.errors.push_back(entry);
  }
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

EngineState& State() {
  static EngineState state;
  return state;
}

void RecordFailure(EngineState& state, const EngineError& error) {
  Record(state, error);
}

pel_result AnswerFailure(EngineState& state) {
  try {
    throw;
  } catch (const EngineError& error) {
    Record(state, error);
    return error.code();
  } catch (const std::bad_alloc&) {
    Record(state, EngineError(PEL_NO_MEMORY, {}));
    return PEL_NO_MEMORY;
  } catch (const std::exception& error) {
    Record(state, EngineError(PEL_INVALID_ARGUMENT, {}, error.what()));
    return PEL_INVALID_ARGUMENT;
  } catch (...) {
    Record(state, EngineError(PEL_INVALID_ARGUMENT, {}));
    return PEL_INVALID_ARGUMENT;
  }
}

pel_database* CheckDatabase(pel_database* database) {
  for (const auto& d : State().databases)
    if (d.get() == database && database) return database;
  throw EngineError(PEL_INVALID_HANDLE, "database");
}

pel_cursor* CheckCursor(pel_cursor* cursor) {
  if (!cursor || !State().cursors.count(cursor)) throw EngineError(PEL_INVALID_HANDLE, "cursor");
  return cursor;
}

void CloseCursor(pel_cursor* cursor) {
  State().cursors.erase(cursor);
  cursor->database->cursors.erase(cursor);
  delete cursor;
}

void CloseDatabase(pel_database* database) {
  while (!database->cursors.empty()) CloseCursor(*database->cursors.begin());
  auto& all = State().databases;
  for (auto it = all.begin(); it != all.end(); ++it)
    if (it->get() == database) {
      all.erase(it);
      return;
    }
}

void CopyText(const std::string& text, char* buffer, std::size_t size) {
  if (!buffer) throw EngineError(PEL_INVALID_ARGUMENT, {}, "no buffer");
  if (text.size() + 1 > size)
    throw EngineError(PEL_BUFFER_TOO_SMALL, {}, std::to_string(text.size() + 1) + " bytes needed");
  std::memcpy(buffer, text.c_str(), text.size() + 1);
}

std::string ResolveTablePath(const std::string& directory, const std::string& name) {
  namespace fs = std::filesystem;
  std::string file = name;
  if (fs::path(file).extension().empty()) file += ".DB";
  const fs::path exact = fs::path(directory) / file;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  // Tables copied from other systems often differ in case: "FONTS.DB".
  const fs::path wanted = fs::path(file);
  const fs::path dir = (fs::path(directory) / wanted).parent_path();
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (EqualNoCase(it->path().filename().string(), wanted.filename().string()))
      return it->path().string();
  return exact.string();
}

}  // namespace pellory::engine
