// What pellory-specimen does once its command line is read.
#pragma once

#include <ostream>

#include "specimen_options.h"

namespace pellory::specimen {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCatalogue = 1;  // the catalogue could not be read
inline constexpr int kExitUsage = 2;      // a wrong command line
inline constexpr int kExitOutput = 3;     // the PDF could not be written
inline constexpr int kExitPrint = 4;      // the print system did not take the job

// Needs a QGuiApplication. Messages go to `err`, the print job's number to `out`.
int Run(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace pellory::specimen
