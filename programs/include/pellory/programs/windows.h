// The program's windows, made known to the shell at start-up.
#pragma once

namespace pellory::app {

// Registers every window class of the program by class name (so that one
// window opens another without including it), with its stored description
// and the control classes that description names; gives every window the
// program's icon. Safe to call again.
void RegisterWindows();

}  // namespace pellory::app
