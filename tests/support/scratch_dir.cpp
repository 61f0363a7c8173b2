#include "scratch_dir.h"

#include <stdlib.h>

#include <stdexcept>

namespace pellory::testkit {

namespace fs = std::filesystem;

ScratchDir::ScratchDir(const std::string& prefix) {
  std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch directory");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

OwnRuntimeDir::OwnRuntimeDir() : dir_("pellory-test-runtime") {
  ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
}

OwnCacheDir::OwnCacheDir() : dir_("pellory-test-cache") {
  ::setenv("XDG_CACHE_HOME", dir_.path().c_str(), 1);
}

}  // namespace pellory::testkit
