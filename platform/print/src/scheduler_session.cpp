#include "scheduler_session.h"

#include <cups/cups.h>

namespace pellory::platform {

void PrepareSchedulerSession() {
  cupsSetPasswordCB2(
      [](const char*, http_t*, const char*, const char*, void*) -> const char* { return nullptr; },
      nullptr);
}

}  // namespace pellory::platform
