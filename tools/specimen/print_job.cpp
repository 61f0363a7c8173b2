#include "print_job.h"

#include <cups/cups.h>

namespace pellory::specimen {
namespace {

bool Unreachable(ipp_status_t status) {
  return status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL;
}

std::string LastError() {
  const char* text = cupsLastErrorString();
  return text && *text ? text : "no answer";
}

}  // namespace

PrintOutcome PrintPdf(const std::string& pdf, const std::string& queue, const std::string& title) {
  PrintOutcome outcome;
  cups_dest_t* dest =
      cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.empty() ? nullptr : queue.c_str(), nullptr);
  if (!dest) {
    if (Unreachable(cupsLastError()))
      outcome.error = "the print system cannot be reached (" + LastError() + ")";
    else if (queue.empty())
      outcome.error = "no default printer is set; name a queue with --printer";
    else
      outcome.error = "the print system has no queue named \"" + queue + "\"";
    return outcome;
  }
  outcome.queue = dest->name;
  cups_option_t* options = nullptr;
  int count = cupsAddOption("document-format", "application/pdf", 0, &options);
  outcome.job =
      cupsPrintFile2(CUPS_HTTP_DEFAULT, dest->name, pdf.c_str(), title.c_str(), count, options);
  if (outcome.job == 0)
    outcome.error = "the queue \"" + outcome.queue + "\" refused the job: " + LastError();
  cupsFreeOptions(count, options);
  cupsFreeDests(1, dest);
  return outcome;
}

}  // namespace pellory::specimen
