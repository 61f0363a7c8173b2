// The default printer and the fonts resident in it, from the machine's
// print system (CUPS).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pellory/platform/print_errors.h"

namespace pellory::platform {

// The default printer as the print system chooses it (the PRINTER and
// LPDEST variables, then the user's and the system's lpoptions, then the
// scheduler's own default), provided that destination is installed.
// Raises NoDefaultPrinterError when there is none, also when no scheduler
// can be reached, and PrintQueryError when the scheduler refuses to answer.
std::string DefaultPrinter();

// The fonts resident in `printer`: the *Font entries of its PPD, in the
// PPD's order, duplicates kept. A queue without a PPD has none. Raises
// InvalidPrinterError when the PPD cannot be fetched or read.
std::vector<std::string> ResidentFonts(const std::string& printer);

// The default printer's fonts, obtained the first time they are asked for
// and kept from then on; after a failure the next call asks again.
class PrinterFonts {
 public:
  const std::vector<std::string>& Fonts();
  bool Obtained() const { return fonts_.has_value(); }

 private:
  std::optional<std::vector<std::string>> fonts_;
};

// The list the program keeps for its whole run.
PrinterFonts& ProgramPrinterFonts();

}  // namespace pellory::platform
