#include "descriptor_device.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pellory::specimen {

DescriptorDevice::DescriptorDevice(int fd) : fd_(fd) {
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 DescriptorDevice::readData(char*, qint64) {
  return -1;
}

qint64 DescriptorDevice::writeData(const char* data, qint64 size) {
  if (!failure_.empty()) return -1;
  qint64 done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, data + done, static_cast<std::size_t>(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A write that took nothing without an error leaves errno as it was.
      failure_ = n < 0 ? std::strerror(errno) : "the system took no more bytes";
      setErrorString(QString::fromStdString(failure_));
      return -1;
    }
    done += n;
  }
  return done;
}

}  // namespace pellory::specimen
