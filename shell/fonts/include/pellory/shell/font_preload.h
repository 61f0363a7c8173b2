// Fontconfig reads its configuration and its font caches the first time a
// text is measured: about a quarter of the program's own start-up, on the
// main thread. Made before the QApplication, a FontPreload has them read
// on a thread of its own while Qt connects to the display; Qt then finds
// them ready (fontconfig keeps one configuration per process, and a
// configuration read twice at once is kept once).
#pragma once

#include <thread>

namespace pellory::shell {

class FontPreload {
 public:
  FontPreload();
  ~FontPreload();  // Waits for the reading to end.
  FontPreload(const FontPreload&) = delete;
  FontPreload& operator=(const FontPreload&) = delete;

 private:
  std::thread thread_;
};

}  // namespace pellory::shell
