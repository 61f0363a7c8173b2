// A scratch directory beside the target, moved into place only when the
// catalogue in it is complete, and removed otherwise.
#pragma once

#include <filesystem>

namespace pellory::mkcatalogue {

// Holds an existing target directory for the time of a build (flock), so
// that two builds of one catalogue, which may add to its blob file in
// place, wait for each other. A target that does not exist yet is not held.
class DirectoryLock {
 public:
  explicit DirectoryLock(const std::filesystem::path& target);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

 private:
  int fd_ = -1;
};

class StagingDir {
 public:
  // Makes the target's parent if needed, then the scratch directory in it
  // (same file system, so the final move is a rename). Throws
  // std::runtime_error naming the directory it cannot write.
  explicit StagingDir(std::filesystem::path target);
  ~StagingDir();
  StagingDir(const StagingDir&) = delete;
  StagingDir& operator=(const StagingDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // A missing target becomes the scratch directory; an existing one gets
  // the scratch directory's files, each replacing its old copy.
  void Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path path_;
  bool committed_ = false;
};

}  // namespace pellory::mkcatalogue
