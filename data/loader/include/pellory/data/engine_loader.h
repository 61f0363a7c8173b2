// Loads the engine library at run time and hands out its C interface.
//
// Where the library is looked for, in this order: the directory of the
// running program; the library directory the engine configuration names
// (library_dir in [engine]); the directory where the program's own
// installation keeps it (so that a configuration without [engine], or one
// naming a directory an older installation left, still finds it); the
// system's own search (the bare file name).
// The current directory is never searched first: anyone able to write there
// could otherwise plant code in the program.
#pragma once

#include <string>

#include "pellory/engine.h"

namespace pellory::data {

// One line per entry; clang-format cannot settle on a layout for the list.
// clang-format off
#define PELLORY_ENGINE_ENTRIES(X) \
  X(engine_init) \
  X(engine_exit) \
  X(session_current) \
  X(session_set_current) \
  X(password_add) \
  X(password_remove) \
  X(password_remove_all) \
  X(private_dir_set) \
  X(net_dir_set) \
  X(config_mode_set) \
  X(config_mode_get) \
  X(alias_describe) \
  X(alias_parameters) \
  X(database_open) \
  X(database_driver_type) \
  X(database_close) \
  X(table_open) \
  X(cursor_close) \
  X(cursor_properties) \
  X(cursor_fields) \
  X(language_driver) \
  X(text_to_utf8) \
  X(text_from_utf8) \
  X(cursor_to_start) \
  X(cursor_to_end) \
  X(cursor_to_sequence) \
  X(cursor_sequence) \
  X(cursor_count) \
  X(cursor_count_exact) \
  X(cursor_next) \
  X(cursor_prior) \
  X(cursor_current) \
  X(cursor_bookmark) \
  X(cursor_to_bookmark) \
  X(field_get) \
  X(blob_open) \
  X(blob_size) \
  X(blob_read) \
  X(blob_free) \
  X(filter_add) \
  X(filter_activate) \
  X(filter_deactivate) \
  X(filter_drop) \
  X(error_text) \
  X(error_stack_entry) \
  X(callback_register) \
  X(callback_remove)
// clang-format on

// The engine's entries; an entry the library lacks answers PEL_ENTRY_MISSING
// when called.
struct EngineEntries {
#define PELLORY_ENGINE_ENTRY_FIELD(name) decltype(&pel_##name) name = nullptr;
  PELLORY_ENGINE_ENTRIES(PELLORY_ENGINE_ENTRY_FIELD)
#undef PELLORY_ENGINE_ENTRY_FIELD
};

inline constexpr const char* kEngineLibraryName = "libpellory_engine.so";

// Loads the library unless it is loaded already and sets *entries. Answers
// PEL_OK, PEL_LIBRARY_NOT_FOUND, PEL_LIBRARY_NOT_LOADABLE, PEL_NO_MEMORY or
// PEL_NO_INIT_ENTRY. A failed load is tried again on the next call.
pel_result LoadEngine(const EngineEntries** entries);

// Uses exactly this file instead of the search (for tests); an empty path
// restores the search. Takes effect at the next load.
void SetEngineLibraryPath(const std::string& path);

// Unloads the library (for tests); the next LoadEngine loads it again.
void UnloadEngine();

// The file the library was loaded from; empty while none is loaded.
std::string LoadedEnginePath();

// The search itself: the first existing library file in programDir, then in
// configuredDir, then in installationDir (each may be empty); empty when
// none holds one, which leaves the system's search.
std::string FindEngineLibrary(const std::string& programDir, const std::string& configuredDir,
                              const std::string& installationDir = {});

}  // namespace pellory::data
