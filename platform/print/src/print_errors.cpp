#include "pellory/platform/print_errors.h"

namespace pellory::platform {

namespace {

std::string QueryMessage(int code, const std::string& text) {
  return "Win32 Error.  Code: " + std::to_string(code) + ".\n" + text;
}

}  // namespace

PrintQueryError::PrintQueryError(int code, const std::string& text)
    : PrintError(QueryMessage(code, text)), code_(code) {}

NoDefaultPrinterError::NoDefaultPrinterError()
    : PrintError("There is no default printer currently selected") {}

InvalidPrinterError::InvalidPrinterError() : PrintError("Printer selected is not valid") {}

}  // namespace pellory::platform
