// Settings every conversation with the scheduler needs.
#pragma once

namespace pellory::platform {

// A scheduler that asks for a password gets none: the program never stops
// to prompt on a terminal, and the request fails as refused.
void PrepareSchedulerSession();

}  // namespace pellory::platform
