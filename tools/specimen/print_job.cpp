#include "print_job.h"

#include <cups/cups.h>

#include <cstdio>
#include <memory>

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

// "QUEUE/INSTANCE" as lp -d takes it.
std::pair<std::string, std::string> QueueAndInstance(const std::string& destination) {
  const std::size_t slash = destination.find('/');
  if (slash == std::string::npos) return {destination, ""};
  return {destination.substr(0, slash), destination.substr(slash + 1)};
}

std::string Named(const cups_dest_t& dest) {
  return dest.instance ? std::string(dest.name) + "/" + dest.instance : dest.name;
}

// The file's bytes as the document of the job the scheduler has made.
std::string SendDocument(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, int job,
                         const std::string& pdf, const std::string& title) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(pdf.c_str(), "rb"), std::fclose);
  if (!file) return "the book cannot be read back for printing";
  if (cupsStartDestDocument(http, dest, info, job, title.c_str(), CUPS_FORMAT_PDF, 0, nullptr, 1) !=
      HTTP_STATUS_CONTINUE)
    return LastError();
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
    if (cupsWriteRequestData(http, buffer, n) != HTTP_STATUS_CONTINUE) break;
  if (cupsFinishDestDocument(http, dest, info) > IPP_STATUS_OK_CONFLICTING) return LastError();
  return {};
}

}  // namespace

PrintOutcome PrintPdf(const std::string& pdf, const std::string& destination,
                      const std::string& title) {
  PrintOutcome outcome;
  std::unique_ptr<http_t, void (*)(http_t*)> http(ConnectToScheduler(), httpClose);
  if (!http) {
    outcome.error = std::string("the print system cannot be reached (") + cupsServer() + ": " +
                    LastError() + ")";
    return outcome;
  }
  // The destination as lp finds it: the queue or instance with the options
  // the user (or the administrator) saved for it with lpoptions.
  const auto [queue, instance] = QueueAndInstance(destination);
  cups_dest_t* dest = cupsGetNamedDest(http.get(), queue.empty() ? nullptr : queue.c_str(),
                                       instance.empty() ? nullptr : instance.c_str());
  if (!dest) {
    if (destination.empty())
      outcome.error = "no default printer is set; name a queue with --printer";
    else
      outcome.error = "the print system has no queue named \"" + queue + "\"";
    return outcome;
  }
  std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> owned(
      dest, [](cups_dest_t* d) { cupsFreeDests(1, d); });
  outcome.queue = dest->name;
  const std::string named = Named(*dest);
  std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info(cupsCopyDestInfo(http.get(), dest),
                                                              cupsFreeDestInfo);
  if (!info) {
    outcome.error = "the queue \"" + named + "\" cannot be asked: " + LastError();
    return outcome;
  }
  if (cupsCreateDestJob(http.get(), dest, info.get(), &outcome.job, title.c_str(),
                        dest->num_options, dest->options) > IPP_STATUS_OK_CONFLICTING) {
    outcome.error = "the queue \"" + named + "\" refused the job: " + LastError();
    outcome.job = 0;
    return outcome;
  }
  const std::string sent = SendDocument(http.get(), dest, info.get(), outcome.job, pdf, title);
  if (!sent.empty()) {
    cupsCancelDestJob(http.get(), dest, outcome.job);
    outcome.error = "the queue \"" + named + "\" did not take the book: " + sent;
    outcome.job = 0;
  }
  return outcome;
}

}  // namespace pellory::specimen
