#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "pellory/engine/table_schema.h"

namespace pellory::writer {

OutputFile::OutputFile(std::filesystem::path path, bool keep) : path_(std::move(path)) {
  fd_ = keep ? ::open(path_.c_str(), O_WRONLY | O_CLOEXEC)
             : ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) Fail(keep ? "cannot open" : "cannot create");
}

std::uint64_t OutputFile::Size() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) Fail("cannot look at");
  return static_cast<std::uint64_t>(st.st_size);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

void OutputFile::Fail(const char* what) const {
  throw WriteError(std::string(what) + " " + path_.string() + ": " + std::strerror(errno));
}

void OutputFile::WriteAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("cannot write");
    done += static_cast<std::size_t>(n);
  }
}

void OutputFile::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::fsync(fd) != 0 && errno != EINVAL) {
    ::close(fd);
    Fail("cannot flush");
  }
  if (::close(fd) != 0) Fail("cannot close");
}

}  // namespace pellory::writer
