#include "pellory/shell/font_preload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace pellory::shell {

FontPreload::FontPreload() {
  try {
    thread_ = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to spare: Qt reads the configuration itself, as without.
  }
}

FontPreload::~FontPreload() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace pellory::shell
