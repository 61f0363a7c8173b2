#include "staging_dir.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

namespace pellory::mkcatalogue {

namespace fs = std::filesystem;

DirectoryLock::DirectoryLock(const fs::path& target) {
  fd_ = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const std::string why = std::strerror(errno);
    ::close(fd_);
    throw std::runtime_error("cannot lock " + target.string() + ": " + why);
  }
}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) ::close(fd_);
}

StagingDir::StagingDir(fs::path target) : target_(std::move(target)) {
  if (target_.filename().empty()) target_ = target_.parent_path();
  fs::path parent = target_.parent_path();
  if (parent.empty()) parent = ".";
  std::error_code error;
  fs::create_directories(parent, error);
  if (error) throw std::runtime_error("cannot create " + parent.string() + ": " + error.message());
  std::string leaf = target_.filename().string();
  leaf.insert(leaf.begin(), '.');
  leaf += ".partial-XXXXXX";
  std::string pattern = (parent / leaf).string();
  if (!::mkdtemp(pattern.data()))
    throw std::runtime_error("cannot write into " + parent.string() + ": " + std::strerror(errno));
  path_ = pattern;
  // mkdtemp makes the directory private; the catalogue is for every user.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(path_.c_str(), 0777 & ~mask);
}

StagingDir::~StagingDir() {
  if (committed_) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void StagingDir::Commit() {
  std::error_code error;
  const auto status = fs::symlink_status(target_, error);
  if (!fs::exists(status)) {
    fs::rename(path_, target_, error);
    if (error)
      throw std::runtime_error("cannot create " + target_.string() + ": " + error.message());
    committed_ = true;
    return;
  }
  if (!fs::is_directory(fs::status(target_)))
    throw std::runtime_error(target_.string() + " exists and is not a directory");
  for (const auto& entry : fs::directory_iterator(path_)) {
    fs::rename(entry.path(), target_ / entry.path().filename(), error);
    if (error)
      throw std::runtime_error("cannot write " + (target_ / entry.path().filename()).string() +
                               ": " + error.message());
  }
  fs::remove(path_, error);
  committed_ = true;
}

}  // namespace pellory::mkcatalogue
