#include "print_job.h"

#include <cups/cups.h>

namespace pellory::specimen {
namespace {

// A connection to the scheduler the user's settings name (CUPS_SERVER,
// client.conf), or null when nothing answers there.
http_t* ConnectToScheduler() {
  return httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 10000,
                      nullptr);
}

std::string LastError() {
  const char* text = cupsLastErrorString();
  return text && *text ? text : "no answer";
}

}  // namespace

PrintOutcome PrintPdf(const std::string& pdf, const std::string& queue, const std::string& title) {
  PrintOutcome outcome;
  http_t* http = ConnectToScheduler();
  if (!http) {
    outcome.error = std::string("the print system cannot be reached (") + cupsServer() + ": " +
                    LastError() + ")";
    return outcome;
  }
  cups_dest_t* dest = cupsGetNamedDest(http, queue.empty() ? nullptr : queue.c_str(), nullptr);
  if (!dest) {
    if (queue.empty())
      outcome.error = "no default printer is set; name a queue with --printer";
    else
      outcome.error = "the print system has no queue named \"" + queue + "\"";
    httpClose(http);
    return outcome;
  }
  outcome.queue = dest->name;
  cups_option_t* options = nullptr;
  int count = cupsAddOption("document-format", "application/pdf", 0, &options);
  outcome.job = cupsPrintFile2(http, dest->name, pdf.c_str(), title.c_str(), count, options);
  if (outcome.job == 0)
    outcome.error = "the queue \"" + outcome.queue + "\" refused the job: " + LastError();
  cupsFreeOptions(count, options);
  cupsFreeDests(1, dest);
  httpClose(http);
  return outcome;
}

}  // namespace pellory::specimen
