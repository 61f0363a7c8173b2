#include "pellory/shell/window_host.h"

namespace pellory::shell {

namespace {

WindowHost* current = nullptr;

}  // namespace

WindowHost* WindowHost::Current() {
  return current;
}

void WindowHost::SetCurrent(WindowHost* host) {
  current = host;
}

void RunGuarded(const std::function<void()>& handler) {
  if (WindowHost* host = WindowHost::Current())
    host->Guard(handler);
  else
    handler();
}

}  // namespace pellory::shell
