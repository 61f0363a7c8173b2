// Builds a catalogue from the options: reads the fonts (or generates
// records), writes the table into a staging directory and moves it into
// place. Warnings and progress go to `log`.
#pragma once

#include <ostream>

#include "build_options.h"

namespace pellory::mkcatalogue {

// Answers an ExitCode; every failure is explained on `log`. With --report,
// one line a font record goes to `report`: name, category, rule and file,
// separated by tabs.
int BuildCatalogue(const BuildOptions& options, std::ostream& log, std::ostream& report);
// The report, if asked for, goes to `log` too.
int BuildCatalogue(const BuildOptions& options, std::ostream& log);

}  // namespace pellory::mkcatalogue
