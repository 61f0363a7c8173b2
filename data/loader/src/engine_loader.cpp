#include "pellory/data/engine_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <new>
#include <optional>

#include "pellory/engine/alias_config.h"
#include "whole_library.h"

namespace pellory::data {
namespace {

namespace fs = std::filesystem;

struct LoaderState {
  std::mutex lock;
  std::string explicitPath;
  void* handle = nullptr;
  std::string loadedPath;
  EngineEntries entries;
};

LoaderState& Loader() {
  static LoaderState state;
  return state;
}

template <typename... Args>
pel_result MissingEntry(Args...) {
  return PEL_ENTRY_MISSING;
}

template <typename Fn>
void Bind(void* handle, const char* name, Fn& slot) {
  void* found = dlsym(handle, name);
  if (found)
    slot = reinterpret_cast<Fn>(found);
  else
    slot = &MissingEntry;
}

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The library beside the program, then in the configured directory, then
// in the installation's; the configuration is read only when needed.
std::optional<std::string> FindLibraryFile() {
  const std::string programDir = engine::RunningProgramDir();
  std::string found = FindEngineLibrary(programDir, {});
  if (found.empty())
    found = FindEngineLibrary({}, engine::LoadConfig().libraryDir,
                              engine::InstalledEngineDir(programDir));
  if (found.empty()) return std::nullopt;
  return found;
}

pel_result Open(LoaderState& state) {
  std::string path;
  if (!state.explicitPath.empty()) {
    if (!IsFile(state.explicitPath)) return PEL_LIBRARY_NOT_FOUND;
    path = state.explicitPath;
  } else if (auto found = FindLibraryFile()) {
    path = *found;
  }
  // A library file cut short would crash the system's loader; one found by
  // the system's own search is not seen before it is loaded.
  if (!path.empty() && !IsWholeSharedLibrary(path)) return PEL_LIBRARY_NOT_LOADABLE;
  void* handle = dlopen(path.empty() ? kEngineLibraryName : path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    // By bare name the system reports a missing file only through its text.
    const char* why = dlerror();
    const bool missing =
        path.empty() && why && std::string(why).find("No such file") != std::string::npos;
    return missing ? PEL_LIBRARY_NOT_FOUND : PEL_LIBRARY_NOT_LOADABLE;
  }
  if (!dlsym(handle, "pel_engine_init")) {
    dlclose(handle);
    return PEL_NO_INIT_ENTRY;
  }
  EngineEntries entries;
#define PELLORY_BIND_ENTRY(name) Bind(handle, "pel_" #name, entries.name);
  PELLORY_ENGINE_ENTRIES(PELLORY_BIND_ENTRY)
#undef PELLORY_BIND_ENTRY
  state.handle = handle;
  state.entries = entries;
  state.loadedPath = path.empty() ? kEngineLibraryName : path;
  return PEL_OK;
}

}  // namespace

pel_result LoadEngine(const EngineEntries** entries) {
  LoaderState& state = Loader();
  std::lock_guard guard(state.lock);
  if (!state.handle) {
    try {
      if (const pel_result result = Open(state); result != PEL_OK) return result;
    } catch (const std::bad_alloc&) {
      return PEL_NO_MEMORY;
    }
  }
  if (entries) *entries = &state.entries;
  return PEL_OK;
}

void SetEngineLibraryPath(const std::string& path) {
  LoaderState& state = Loader();
  std::lock_guard guard(state.lock);
  state.explicitPath = path;
}

void UnloadEngine() {
  LoaderState& state = Loader();
  std::lock_guard guard(state.lock);
  if (state.handle) dlclose(state.handle);
  state.handle = nullptr;
  state.loadedPath.clear();
  state.entries = EngineEntries{};
}

std::string FindEngineLibrary(const std::string& programDir, const std::string& configuredDir,
                              const std::string& installationDir) {
  for (const std::string& dir : {programDir, configuredDir, installationDir})
    if (!dir.empty() && IsFile(fs::path(dir) / kEngineLibraryName))
      return (fs::path(dir) / kEngineLibraryName).string();
  return {};
}

std::string LoadedEnginePath() {
  LoaderState& state = Loader();
  std::lock_guard guard(state.lock);
  return state.loadedPath;
}

}  // namespace pellory::data
