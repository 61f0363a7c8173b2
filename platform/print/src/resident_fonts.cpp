// The printer's resident fonts from its PPD.
#include <cups/cups.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "pellory/platform/printer_fonts.h"
#include "scheduler_session.h"

// The PPD functions are marked deprecated in favour of the IPP attributes,
// which do not list resident fonts; the PPD is the only place that does.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

namespace pellory::platform {

namespace {

// A PPD copied into a temporary file by the scheduler, removed with it.
class FetchedPpd {
 public:
  ~FetchedPpd() {
    if (path_[0] != '\0') unlink(path_.data());
  }
  http_status_t Fetch(const std::string& printer) {
    time_t modified = 0;
    return cupsGetPPD3(CUPS_HTTP_DEFAULT, printer.c_str(), &modified, path_.data(), path_.size());
  }
  const char* Path() const { return path_.data(); }

 private:
  std::array<char, 1024> path_{};
};

struct OpenPpd {
  ppd_file_t* ppd;
  ~OpenPpd() {
    if (ppd) ppdClose(ppd);
  }
};

}  // namespace

std::vector<std::string> ResidentFonts(const std::string& printer) {
  PrepareSchedulerSession();
  FetchedPpd file;
  const http_status_t status = file.Fetch(printer);
  // A queue without a driver has no PPD: it names no resident fonts.
  if (status == HTTP_STATUS_NOT_FOUND) return {};
  if (status != HTTP_STATUS_OK) throw InvalidPrinterError();
  const OpenPpd opened{ppdOpenFile(file.Path())};
  if (!opened.ppd) throw InvalidPrinterError();
  std::vector<std::string> fonts;
  fonts.reserve(size_t(std::max(0, opened.ppd->num_fonts)));
  for (int i = 0; i < opened.ppd->num_fonts; ++i) fonts.emplace_back(opened.ppd->fonts[i]);
  return fonts;
}

}  // namespace pellory::platform

#pragma GCC diagnostic pop
