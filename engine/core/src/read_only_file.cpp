#include "read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine_error.h"
#include "pellory/engine.h"

namespace pellory::engine {
namespace {

FileIdentity IdentityOf(const struct stat& st) {
  return {.device = static_cast<std::uint64_t>(st.st_dev),
          .inode = static_cast<std::uint64_t>(st.st_ino),
          .size = static_cast<std::uint64_t>(st.st_size),
          .modifiedSeconds = st.st_mtim.tv_sec,
          .modifiedNanoseconds = st.st_mtim.tv_nsec,
          .changedSeconds = st.st_ctim.tv_sec,
          .changedNanoseconds = st.st_ctim.tv_nsec};
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path, std::uint16_t notFoundCode) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) throw EngineError(notFoundCode, path);
    throw EngineError(PEL_ACCESS_DENIED, path, std::strerror(error));
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    throw EngineError(PEL_ACCESS_DENIED, path, "not a regular file");
  }
  identity_ = IdentityOf(st);
}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) ::close(fd_);
}

void ReadOnlyFile::ReadAt(std::uint64_t offset, void* out, std::size_t count,
                          std::uint16_t damagedCode) const {
  const std::uint64_t size = identity_.size;
  if (offset > size || size - offset < count)
    throw EngineError(damagedCode, path_,
                      "read of " + std::to_string(count) + " bytes at " + std::to_string(offset) +
                          " past the end of the file");
  auto* bytes = static_cast<unsigned char*>(out);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd_, bytes + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EngineError(PEL_READ_FAILED, path_, std::strerror(errno));
    if (got == 0) throw EngineError(damagedCode, path_, "file ended early");
    done += static_cast<std::size_t>(got);
  }
}

bool ReadOnlyFile::Writable() const {
  return ::access(path_.c_str(), W_OK) == 0;
}

}  // namespace pellory::engine
