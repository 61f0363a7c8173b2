#include "pellory/shell/font_preload.h"

#include <fontconfig/fontconfig.h>

namespace pellory::shell {

FontPreload::FontPreload() : thread_([] { FcInit(); }) {}

FontPreload::~FontPreload() {
  thread_.join();
}

}  // namespace pellory::shell
