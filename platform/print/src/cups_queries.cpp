// The default printer, through the scheduler's list of destinations.
#include <cups/cups.h>

#include <memory>

#include "pellory/platform/printer_fonts.h"
#include "scheduler_session.h"

namespace pellory::platform {

namespace {

struct Destinations {
  cups_dest_t* list = nullptr;
  int count = 0;
  ~Destinations() { cupsFreeDests(count, list); }
};

// Whether a failed query only means that there is nothing to list: no
// scheduler to ask (a machine without printing) or no destination at all.
bool MeansNoPrinter(ipp_status_t status) {
  return status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_NOT_FOUND;
}

}  // namespace

std::string DefaultPrinter() {
  PrepareSchedulerSession();
  Destinations destinations;
  // The list marks the default by CUPS's own rules and leaves it unmarked
  // when the user's choice names a destination that is not installed.
  destinations.count = cupsGetDests2(CUPS_HTTP_DEFAULT, &destinations.list);
  if (destinations.count == 0) {
    const ipp_status_t status = cupsLastError();
    if (status >= IPP_STATUS_ERROR_BAD_REQUEST && !MeansNoPrinter(status))
      throw PrintQueryError(int(status), cupsLastErrorString());
    throw NoDefaultPrinterError();
  }
  const cups_dest_t* chosen = cupsGetDest(nullptr, nullptr, destinations.count, destinations.list);
  if (!chosen) throw NoDefaultPrinterError();
  return chosen->name;
}

}  // namespace pellory::platform
