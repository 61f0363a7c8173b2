// A check of a shared library file before the system's loader maps it.
#pragma once

#include <string>

namespace pellory::data {

// Whether `path` holds a whole shared library for this machine: an ELF file
// of the program's own class whose loadable segments all lie inside the
// file. The system's loader maps a library cut short (an interrupted copy)
// as it stands and then writes to pages past the file's end, which ends the
// program with a bus error instead of a failed load.
bool IsWholeSharedLibrary(const std::string& path);

}  // namespace pellory::data
