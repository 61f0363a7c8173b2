// A mutex named by a string and shared by every process of the user's
// session. It exists while any process holds it open; the kernel lets go
// of it when that process ends, however it ends.
#pragma once

#include <string>
#include <string_view>

namespace pellory::platform {

class NamedMutex {
 public:
  enum class Outcome {
    Created,         // Nobody held the name; this object owns the mutex.
    AlreadyExisted,  // Another holder exists; this object joins them, unowned.
    Failed,          // The lock file could not be made or locked; see Failure().
  };

  // Creates the mutex `name` owned by the caller, or opens it when another
  // holder exists. Of any number of processes that call this at once while
  // nobody holds the name, exactly one gets Created.
  static NamedMutex Create(std::string_view name);

  NamedMutex() = default;
  NamedMutex(NamedMutex&& other) noexcept;
  NamedMutex& operator=(NamedMutex&& other) noexcept;
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;
  // Closes the mutex; it ends once its last holder has closed it.
  ~NamedMutex();

  Outcome Result() const { return outcome_; }
  const std::string& Failure() const { return failure_; }
  bool Owned() const { return owned_; }
  bool Open() const { return fd_ >= 0; }

  // Gives up ownership; the mutex stays open and others may join it.
  void ReleaseOwnership();

 private:
  void Close();

  int fd_ = -1;
  Outcome outcome_ = Outcome::Failed;
  bool owned_ = false;
  std::string failure_;
};

}  // namespace pellory::platform
