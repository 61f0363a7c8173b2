#include "output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include "output_target.h"
#include "removal_on_signal.h"

namespace pellory::specimen {

OutputFile::OutputFile(const std::string& target) {
  const OutputTarget resolved = ResolveOutputTarget(target);
  if (!resolved.error.empty()) {
    error_ = resolved.error;
    return;
  }
  target_ = resolved.path;
  keep_ = resolved.exists;
  mode_ = resolved.mode;
  owner_ = resolved.owner;
  group_ = resolved.group;
  const std::filesystem::path dir = std::filesystem::path(target_).parent_path();
  const long nameMax = ::pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
  Make(PartialPattern(target_, nameMax > 0 ? static_cast<std::size_t>(nameMax) : 255));
}

OutputFile OutputFile::Scratch(const std::string& suffix) {
  OutputFile file;
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = tmp && *tmp ? tmp : "/tmp";
  file.Make(dir + "/pellory-specimen-XXXXXX" + suffix);
  return file;
}

void OutputFile::Make(const std::string& pattern) {
  std::string name = pattern;
  const std::size_t suffix = name.size() - (name.rfind("XXXXXX") + 6);
  fd_ = ::mkstemps(name.data(), static_cast<int>(suffix));
  if (fd_ < 0) {
    error_ = std::strerror(errno);
    return;
  }
  temporary_ = name;
  RemoveOnSignal(temporary_);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)),
      error_(std::move(other.error_)),
      keep_(other.keep_),
      mode_(other.mode_),
      owner_(other.owner_),
      group_(other.group_) {
  other.temporary_.clear();
}

OutputFile::~OutputFile() {
  Discard();
}

// A book that replaces a file keeps its mode (and, where the user may give
// them, its owner and group); a new book is readable as any file the user
// writes.
void OutputFile::SetPermissions() {
  if (!keep_) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    return;
  }
  struct stat own {};
  if (::fstat(fd_, &own) == 0 && (own.st_uid != owner_ || own.st_gid != group_))
    (void)::fchown(fd_, owner_, group_);
  ::fchmod(fd_, mode_);
}

void OutputFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) {
    ForgetOnSignal();
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

bool OutputFile::Commit() {
  if (fd_ < 0 || target_.empty()) return false;
  SetPermissions();
  const bool synced = ::fsync(fd_) == 0;
  const int syncError = errno;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed) {
    error_ = std::strerror(synced ? errno : syncError);
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error_ = std::strerror(errno);
    return false;
  }
  ForgetOnSignal();
  temporary_.clear();
  return true;
}

}  // namespace pellory::specimen
