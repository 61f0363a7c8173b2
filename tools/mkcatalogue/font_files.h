// The font files of one build, each mapped into memory once however many of
// its faces are opened, on whatever thread, and let go of together when the
// build ends. FreeType would map and unmap a file for every face it opens,
// and unmapping in a process whose threads run on several processors makes
// every one of them flush its address cache.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "freetype_handle.h"

namespace pellory::mkcatalogue {

class FontFiles {
 public:
  FontFiles() = default;
  ~FontFiles();
  FontFiles(const FontFiles&) = delete;
  FontFiles& operator=(const FontFiles&) = delete;

  // As OpenFace, from the file's mapping; the face must be closed before
  // this object ends. The reasons for a file that cannot be mapped are
  // FreeType's own.
  FontFace Open(FT_Library library, const std::filesystem::path& file, int index,
                std::string* error);

 private:
  // The file's bytes, mapped on first use; empty with the FreeType error
  // when the file cannot be opened or is empty.
  std::string_view Bytes(const std::filesystem::path& file, FT_Error* error);

  struct Mapping {
    const void* address = nullptr;
    std::size_t size = 0;
    FT_Error error = 0;  // why there is none
  };
  std::mutex lock_;
  std::map<std::string, Mapping> files_;
};

}  // namespace pellory::mkcatalogue
