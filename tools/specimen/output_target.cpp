#include "output_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinks = 40;  // as the kernel's own limit on a path's links

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::optional<std::string> LinkTarget(const std::string& link) {
  std::string target(4096, '\0');
  const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
  if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;
  target.resize(static_cast<std::size_t>(n));
  if (target.front() == '/') return target;
  return (fs::path(link).parent_path() / target).string();
}

}  // namespace

OutputTarget ResolveOutputTarget(const std::string& given) {
  OutputTarget target;
  target.path = given;
  for (int links = 0;; ++links) {
    struct stat status {};
    if (::lstat(target.path.c_str(), &status) != 0) {
      if (errno != ENOENT) target.error = std::strerror(errno);
      return target;  // a new file
    }
    if (S_ISLNK(status.st_mode)) {
      const auto next = links < kMaxLinks ? LinkTarget(target.path) : std::nullopt;
      if (!next) {
        target.error = std::strerror(links < kMaxLinks ? errno : ELOOP);
        return target;
      }
      target.path = *next;
      continue;
    }
    if (!S_ISREG(status.st_mode)) {
      target.error = std::string(KindOf(status.st_mode)) +
                     ", not a regular file; -o takes a regular file or a new name";
      return target;
    }
    target.exists = true;
    target.mode = status.st_mode & 07777;
    target.owner = status.st_uid;
    target.group = status.st_gid;
    return target;
  }
}

std::string PartialPattern(const std::string& path, std::size_t nameMax) {
  const fs::path file(path);
  const fs::path dir = file.has_parent_path() ? file.parent_path() : ".";
  const std::string suffix = ".partial-XXXXXX";
  std::string name = file.filename().string();
  const std::size_t room = nameMax > suffix.size() + 1 ? nameMax - suffix.size() - 1 : 0;
  if (name.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return (dir / ("." + name + suffix)).string();
}

}  // namespace pellory::specimen
