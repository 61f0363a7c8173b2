#include "pellory/platform/printer_fonts.h"

namespace pellory::platform {

const std::vector<std::string>& PrinterFonts::Fonts() {
  if (!fonts_) fonts_ = ResidentFonts(DefaultPrinter());
  return *fonts_;
}

PrinterFonts& ProgramPrinterFonts() {
  static PrinterFonts fonts;
  return fonts;
}

}  // namespace pellory::platform
