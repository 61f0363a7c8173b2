#include "part_file.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace pellory::specimen {

PartFile::PartFile(const std::string& directory) {
  std::string name =
      (directory.empty() ? std::string(".") : directory) + "/.pellory-specimen-part-XXXXXX";
  // No signal may end the process between making the name and removing it.
  sigset_t blocked, previous;
  sigemptyset(&blocked);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&blocked, signal);
  ::sigprocmask(SIG_BLOCK, &blocked, &previous);
  fd_ = ::mkstemp(name.data());
  const int made = errno;
  if (fd_ >= 0) ::unlink(name.c_str());
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (fd_ < 0) error_ = std::strerror(made);
}

PartFile::PartFile(PartFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::move(other.error_)) {}

PartFile::~PartFile() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace pellory::specimen
