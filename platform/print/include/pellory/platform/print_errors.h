// The errors of the print subsystem; each message is the text the user
// sees.
#pragma once

#include <stdexcept>
#include <string>

namespace pellory::platform {

class PrintError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Asking the print system for its printers failed: "Win32 Error.  Code:
// %d.\n%s" with the print system's error code and its text.
class PrintQueryError : public PrintError {
 public:
  PrintQueryError(int code, const std::string& text);
  int Code() const { return code_; }

 private:
  int code_;
};

// "There is no default printer currently selected": none is chosen, or the
// chosen one is not installed.
class NoDefaultPrinterError : public PrintError {
 public:
  NoDefaultPrinterError();
};

// "Printer selected is not valid": the default printer cannot tell what it
// offers.
class InvalidPrinterError : public PrintError {
 public:
  InvalidPrinterError();
};

}  // namespace pellory::platform
