// Hands a finished PDF to the print system (CUPS) as one job, as lp would:
// the destination found with CUPS's destination API, an instance of it
// named as QUEUE/INSTANCE, with the options saved for it with lpoptions,
// the job and its one document named after the book.
#pragma once

#include <string>

namespace pellory::specimen {

struct PrintOutcome {
  int job = 0;        // the job's number when queued
  std::string queue;  // the queue it went to (without an instance)
  std::string error;  // empty when queued; else what the print system said, plainly
};

// `destination` QUEUE or QUEUE/INSTANCE; empty: the user's default one.
PrintOutcome PrintPdf(const std::string& pdf, const std::string& destination,
                      const std::string& title);

}  // namespace pellory::specimen
