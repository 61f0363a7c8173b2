// A file written whole or not at all: the bytes go to a hidden temporary
// file beside the target (or in the temporary directory), which is renamed
// onto the target only when complete. The target is the file a symbolic
// link points at, a regular file (whose mode is kept) or a new name
// (output_target.h). The temporary file is removed when the
// object goes without a commit, and also when SIGINT, SIGTERM or SIGHUP
// ends the process half-way (removal_on_signal.h).
#pragma once

#include <sys/types.h>

#include <string>

namespace pellory::specimen {

class OutputFile {
 public:
  // Beside `target`; Error() says why it could not be made.
  explicit OutputFile(const std::string& target);
  // In $TMPDIR (or /tmp), never renamed: removed when the object goes.
  static OutputFile Scratch(const std::string& suffix);
  ~OutputFile();
  OutputFile(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  OutputFile& operator=(OutputFile&&) = delete;

  const std::string& Error() const { return error_; }
  // Open for writing; the object keeps ownership.
  int Descriptor() const { return fd_; }
  const std::string& TemporaryPath() const { return temporary_; }
  // Flushes, closes and renames onto the target; false with Error() set.
  bool Commit();

 private:
  OutputFile() = default;
  void Make(const std::string& pattern);
  void Discard();
  void SetPermissions();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  std::string error_;
  bool keep_ = false;  // an existing file's mode, owner and group
  mode_t mode_ = 0;
  uid_t owner_ = 0;
  gid_t group_ = 0;
};

}  // namespace pellory::specimen
