#include "output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include "removal_on_signal.h"

namespace pellory::specimen {

OutputFile::OutputFile(const std::string& target) : target_(target) {
  const std::filesystem::path path(target);
  const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
  std::string hidden = ".";
  hidden += path.filename().string();
  hidden += ".partial-XXXXXX";
  Make((dir / hidden).string());
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
      error_(std::move(other.error_)) {
  other.temporary_.clear();
}

OutputFile::~OutputFile() {
  Discard();
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
  if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
    fd_ = -1;
    error_ = std::strerror(errno);
    return false;
  }
  fd_ = -1;
  // The book is readable as any file the user writes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(temporary_.c_str(), 0666 & ~mask);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error_ = std::strerror(errno);
    return false;
  }
  ForgetOnSignal();
  temporary_.clear();
  return true;
}

}  // namespace pellory::specimen
