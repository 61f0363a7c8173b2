// Qt's cache of font engines, emptied on demand: without an event loop Qt
// never trims it, so a long book would hold every face it has set.
#pragma once

#include <string>

namespace pellory::specimen {

// Lets Qt go of every font engine nothing holds any more. Removing an
// application font is the one public way to empty the cache, so
// `anyFontFile` (an installed face) is added and removed again.
void ReleaseUnusedFonts(const std::string& anyFontFile);

// Counts the faces gone by and lets Qt go of their fonts every so many.
class FontRelease {
 public:
  explicit FontRelease(int every) : every_(every) {}
  // A face gone by; `file` one of its installed files, empty for none.
  void Seen(const std::string& file) {
    if (!file.empty()) lastFile_ = file;
    ++faces_;
  }
  bool Due() const { return faces_ >= every_; }
  void Release() {
    if (!lastFile_.empty()) ReleaseUnusedFonts(lastFile_);
    lastFile_.clear();
    faces_ = 0;
  }

 private:
  int every_;
  int faces_ = 0;
  std::string lastFile_;
};

}  // namespace pellory::specimen
