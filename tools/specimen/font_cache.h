// Qt's cache of font engines, emptied on demand: without an event loop Qt
// never trims it, so a long book would hold every face it has set.
#pragma once

#include <string>

namespace pellory::specimen {

// Lets Qt go of every font engine nothing holds any more. Removing an
// application font is the one public way to empty the cache, so
// `anyFontFile` (an installed face) is added and removed again.
void ReleaseUnusedFonts(const std::string& anyFontFile);

}  // namespace pellory::specimen
