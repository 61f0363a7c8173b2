// The hourglass pointer over every window of the program, for work that
// holds the user-interface thread for a moment.
#pragma once

#include <functional>

namespace pellory::shell {

// Shows the hourglass when called on the user-interface thread while the
// pointer has its default shape, and answers how to put it back; answers
// nothing, and changes nothing, otherwise.
std::function<void()> ShowHourglass();

}  // namespace pellory::shell
