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
          .links = static_cast<std::uint64_t>(st.st_nlink),
          .modifiedSeconds = st.st_mtim.tv_sec,
          .modifiedNanoseconds = st.st_mtim.tv_nsec,
          .changedSeconds = st.st_ctim.tv_sec,
          .changedNanoseconds = st.st_ctim.tv_nsec};
}

}  // namespace

bool ContentMayDiffer(const FileIdentity& then, const FileIdentity& now) {
  if (then.device != now.device || then.inode != now.inode || then.size != now.size ||
      then.modifiedSeconds != now.modifiedSeconds ||
      then.modifiedNanoseconds != now.modifiedNanoseconds)
    return true;
  return then.links == now.links && (then.changedSeconds != now.changedSeconds ||
                                     then.changedNanoseconds != now.changedNanoseconds);
}

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
    if (got == 0) {
      CheckUnchanged();
      throw EngineError(damagedCode, path_, "file ended early");
    }
    done += static_cast<std::size_t>(got);
  }
  // Checked after reading: a write to the file changes its times before it
  // changes its bytes, so unchanged times afterwards mean that every byte
  // just read is the file as it was opened (short of a rewrite within one
  // tick of the file system's clock after the open). A file replaced by a
  // rename is no concern: the descriptor keeps the old file.
  CheckUnchanged();
}

void ReadOnlyFile::CheckUnchanged() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) throw EngineError(PEL_READ_FAILED, path_, std::strerror(errno));
  if (ContentMayDiffer(identity_, IdentityOf(st)))
    throw EngineError(PEL_FILE_CHANGED, path_, "the file was written to after it was opened");
}

bool ReadOnlyFile::Writable() const {
  return ::access(path_.c_str(), W_OK) == 0;
}

}  // namespace pellory::engine
