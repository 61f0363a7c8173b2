// The engine's process-wide state behind the C interface: the session, open
// databases and cursors, and the error stack of the last failed call. One
// lock guards it all.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine_error.h"
#include "pellory/engine.h"
#include "shared_tables.h"
#include "table_cursor.h"

struct pel_session {
  std::vector<std::string> passwords;
  std::string privateDir;
  std::string netDir;
  std::uint16_t configMode = 0;
};

struct pel_database {
  std::string directory;
  bool readWrite = false;
  std::set<pel_cursor*> cursors;
};

struct pel_cursor {
  pel_database* database = nullptr;
  std::unique_ptr<pellory::engine::TableCursor> table;
};

// pel_filter handles are the cursor's TableFilter objects, checked against
// the cursor's list before use.

namespace pellory::engine {

struct EngineState {
  std::mutex lock;
  bool initialised = false;
  pel_session session;
  std::set<std::unique_ptr<pel_database>> databases;
  std::set<pel_cursor*> cursors;
  std::vector<pel_error_entry> errors;
  // What the open cursors' tables have learnt about their files, for the
  // next open of the same unchanged file.
  SharedTables sharedTables;
};

EngineState& State();

// Records a failure as the error stack of the current call.
void RecordFailure(EngineState& state, const EngineError& error);
// Turns the exception in flight into a result code and error stack entries.
pel_result AnswerFailure(EngineState& state);

// Runs body under the lock with a fresh error stack; turns EngineError and
// allocation failures into result codes and error stack entries.
// needsInit: answer PEL_NOT_INITIALISED before init and after exit.
template <typename Body>
pel_result Guarded(bool needsInit, Body&& body) {
  EngineState& state = State();
  std::lock_guard guard(state.lock);
  state.errors.clear();
  try {
    if (needsInit && !state.initialised) throw EngineError(PEL_NOT_INITIALISED, {});
    return body();
  } catch (...) {
    return AnswerFailure(state);
  }
}

// Handle checks; throw PEL_INVALID_HANDLE.
pel_database* CheckDatabase(pel_database* database);
pel_cursor* CheckCursor(pel_cursor* cursor);

// Closes a cursor and forgets it.
void CloseCursor(pel_cursor* cursor);
void CloseDatabase(pel_database* database);

// Copies text with its zero byte; throws PEL_BUFFER_TOO_SMALL.
void CopyText(const std::string& text, char* buffer, std::size_t size);

// A text argument of the C interface; a null pointer reads as empty.
inline std::string ArgumentText(const char* text) {
  return text ? std::string(text) : std::string();
}

// The file a table name names inside a directory: ".DB" added when the
// name has no extension; a name differing only in case is found too.
std::string ResolveTablePath(const std::string& directory, const std::string& name);

}  // namespace pellory::engine
