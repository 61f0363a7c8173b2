#include "removal_on_signal.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace pellory::specimen {
namespace {

// The handler can only use what is async-signal-safe, so the path waits in
// a fixed buffer.
char pendingPath[4096];
volatile sig_atomic_t pendingSet = 0;

extern "C" void RemovePendingAndDie(int signal) {
  if (pendingSet) ::unlink(pendingPath);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void InstallOnce() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = RemovePendingAndDie;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
    return true;
  }();
  (void)installed;
}

}  // namespace

void RemoveOnSignal(const std::string& path) {
  pendingSet = 0;
  if (path.size() >= sizeof pendingPath) return;
  std::memcpy(pendingPath, path.c_str(), path.size() + 1);
  pendingSet = 1;
  InstallOnce();
}

void ForgetOnSignal() {
  pendingSet = 0;
}

}  // namespace pellory::specimen
