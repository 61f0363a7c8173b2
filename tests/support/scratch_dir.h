// A fresh directory under the system's temporary directory, removed with
// everything in it at the end; for tests and benchmarks that write files.
#pragma once

#include <filesystem>
#include <string>

namespace pellory::testkit {

class ScratchDir {
 public:
  // The directory's name starts with `prefix` and a dash.
  explicit ScratchDir(const std::string& prefix = "pellory");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A scratch directory made this process's runtime directory
// (XDG_RUNTIME_DIR). A main window takes the program's single-instance lock
// there: in a directory of its own, apart from a running copy of the
// program and from other tests.
class OwnRuntimeDir {
 public:
  OwnRuntimeDir();

 private:
  ScratchDir dir_;
};

// A scratch directory made this process's cache directory
// (XDG_CACHE_HOME): what the program keeps between runs (the font list's
// row heights) stays apart from the user's and from other tests.
class OwnCacheDir {
 public:
  OwnCacheDir();

 private:
  ScratchDir dir_;
};

}  // namespace pellory::testkit
