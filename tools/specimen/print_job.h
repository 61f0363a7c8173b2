// Hands a finished PDF to the print system (CUPS) as one job.
#pragma once

#include <string>

namespace pellory::specimen {

struct PrintOutcome {
  int job = 0;        // the job's number when queued
  std::string queue;  // the queue it went to
  std::string error;  // empty when queued; else what the print system said, plainly
};

// `queue` empty: the user's default destination.
PrintOutcome PrintPdf(const std::string& pdf, const std::string& queue, const std::string& title);

}  // namespace pellory::specimen
