// A part of the book while it is written: a temporary file whose name is
// removed the moment it is made, so that nothing of it is left behind by a
// run that ends in any way; the data lives while the descriptor is open.
#pragma once

#include <string>

namespace pellory::specimen {

class PartFile {
 public:
  // In `directory`; Error() says why it could not be made.
  explicit PartFile(const std::string& directory);
  ~PartFile();
  PartFile(PartFile&& other) noexcept;
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;
  PartFile& operator=(PartFile&&) = delete;

  const std::string& Error() const { return error_; }
  // Open for reading and writing; the object keeps ownership.
  int Descriptor() const { return fd_; }

 private:
  int fd_ = -1;
  std::string error_;
};

}  // namespace pellory::specimen
