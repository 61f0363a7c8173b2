// The mutex is a lock file. Every holder keeps a shared open-file-description
// lock on it; a process that creates the mutex first tries for an exclusive
// lock, which only succeeds when nobody holds the file, and then turns it
// into a shared one. Open-file-description locks belong to the open file,
// not to the process, so two objects of one process also see each other,
// and turning an exclusive lock into a shared one never lets go in between.
#include "pellory/platform/named_mutex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "pellory/platform/mutex_location.h"

namespace pellory::platform {

namespace {

// How long a process that found the mutex held waits to join it while the
// creator still holds its exclusive lock (normally microseconds).
constexpr auto kJoinPatience = std::chrono::milliseconds(250);
constexpr auto kJoinStep = std::chrono::milliseconds(2);

std::string Describe(const std::string& what, const std::filesystem::path& path, int error) {
  return what + " " + path.string() + ": " + std::system_category().message(error);
}

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Tries a whole-file lock of `type` without waiting; answers errno or 0.
int TryLock(int fd, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // To the end of the file, however long it grows.
  int rc;
  do rc = ::fcntl(fd, F_OFD_SETLK, &lock);
  while (rc < 0 && errno == EINTR);
  return rc == 0 ? 0 : errno;
}

bool HeldByOther(int error) {
  return error == EAGAIN || error == EACCES;
}

// The fallback directory is shared with other users, so it must be a real
// directory of ours that nobody else may enter.
int OpenPrivateDirectory(const std::filesystem::path& dir, std::string& failure) {
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    failure = Describe("cannot create", dir, errno);
    return -1;
  }
  Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) {
    failure = Describe("cannot open", dir, errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    failure = Describe("cannot examine", dir, errno);
    return -1;
  }
  if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
    failure = dir.string() + " is not a private directory of this user";
    return -1;
  }
  return fd.release();
}

int OpenDirectory(const MutexDirectory& dir, std::string& failure) {
  if (dir.privateFallback) return OpenPrivateDirectory(dir.path, failure);
  const int fd = ::open(dir.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) failure = Describe("cannot open", dir.path, errno);
  return fd;
}

// Opens (creating) the lock file. O_NOFOLLOW and the regular-file check
// keep a planted link, FIFO or device from being used; O_NONBLOCK keeps a
// FIFO from blocking the open; O_CLOEXEC keeps programs started later from
// holding the lock after this process has ended.
int OpenLockFile(std::string_view name, std::filesystem::path& path, std::string& failure) {
  const MutexDirectory dir = NamedMutexDirectory();
  const std::string fileName = NamedMutexFileName(name);
  path = dir.path / fileName;
  Descriptor dirFd(OpenDirectory(dir, failure));
  if (dirFd.get() < 0) return -1;
  int raw;
  do
    raw = ::openat(dirFd.get(), fileName.c_str(),
                   O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
  while (raw < 0 && errno == EINTR);
  Descriptor fd(raw);
  if (fd.get() < 0) {
    failure = Describe("cannot open", path, errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    failure = path.string() + " is not a plain file";
    return -1;
  }
  return fd.release();
}

// Waits, briefly, for a creator to turn its exclusive lock into a shared
// one. A holder that keeps an exclusive lock (another program) is still a
// holder: the mutex exists even when joining it fails.
void Join(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + kJoinPatience;
  for (;;) {
    const int error = TryLock(fd, F_RDLCK);
    if (!HeldByOther(error) || std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(kJoinStep);
  }
}

}  // namespace

NamedMutex NamedMutex::Create(std::string_view name) {
  NamedMutex mutex;
  std::filesystem::path path;
  Descriptor fd(OpenLockFile(name, path, mutex.failure_));
  if (fd.get() < 0) return mutex;
  const int error = TryLock(fd.get(), F_WRLCK);
  if (error == 0) {
    mutex.outcome_ = Outcome::Created;
    mutex.owned_ = true;
  } else if (HeldByOther(error)) {
    mutex.outcome_ = Outcome::AlreadyExisted;
    Join(fd.get());
  } else {
    mutex.failure_ = Describe("cannot lock", path, error);
    return mutex;
  }
  mutex.fd_ = fd.release();
  return mutex;
}

NamedMutex::NamedMutex(NamedMutex&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      outcome_(other.outcome_),
      owned_(std::exchange(other.owned_, false)),
      failure_(std::move(other.failure_)) {}

NamedMutex& NamedMutex::operator=(NamedMutex&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    outcome_ = other.outcome_;
    owned_ = std::exchange(other.owned_, false);
    failure_ = std::move(other.failure_);
  }
  return *this;
}

NamedMutex::~NamedMutex() {
  Close();
}

void NamedMutex::Close() {
  if (fd_ >= 0) ::close(fd_);  // The kernel drops the lock with the file.
  fd_ = -1;
  owned_ = false;
}

void NamedMutex::ReleaseOwnership() {
  // Replacing the exclusive lock by a shared one is one atomic step. Should
  // it fail, the exclusive lock stays: others still see the mutex held.
  if (owned_ && TryLock(fd_, F_RDLCK) == 0) owned_ = false;
}

}  // namespace pellory::platform
