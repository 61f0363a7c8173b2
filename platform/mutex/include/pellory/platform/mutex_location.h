// Where the named mutexes of the user's session live: one lock file per
// name in the user's runtime directory.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pellory::platform {

struct MutexDirectory {
  std::filesystem::path path;
  // True for the fallback below, which is created on first use and must be
  // a private directory of this user.
  bool privateFallback = false;
};

// $XDG_RUNTIME_DIR when it holds an absolute path; otherwise
// "pellory-<uid>" under $TMPDIR (when absolute) or /tmp.
MutexDirectory NamedMutexDirectory();

// The lock file's name for the mutex `name`: one plain file name (no "/",
// never "." or ".."), distinct for distinct names, case kept. Letters,
// digits, ".", "-" and "_" stand as they are, every other byte as "%XX";
// a name too long for that becomes "~" and its SHA-256 in hex.
std::string NamedMutexFileName(std::string_view name);

// NamedMutexDirectory() with NamedMutexFileName(name).
std::filesystem::path NamedMutexPath(std::string_view name);

}  // namespace pellory::platform
