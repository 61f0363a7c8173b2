#include "whole_library.h"

#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace pellory::data {
namespace {

class ReadOnlyDescriptor {
 public:
  explicit ReadOnlyDescriptor(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~ReadOnlyDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }
  // Reads exactly count bytes at offset.
  bool ReadAt(std::uint64_t offset, void* out, std::size_t count) const {
    auto* bytes = static_cast<char*>(out);
    while (count > 0) {
      const ssize_t got = ::pread(fd_, bytes, count, static_cast<off_t>(offset));
      if (got <= 0) return false;
      bytes += got, count -= static_cast<std::size_t>(got),
          offset += static_cast<std::uint64_t>(got);
    }
    return true;
  }

 private:
  int fd_;
};

bool Inside(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

bool IsWholeSharedLibrary(const std::string& path) {
  const ReadOnlyDescriptor file(path);
  struct stat st {};
  if (file.fd() < 0 || ::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const auto fileSize = static_cast<std::uint64_t>(st.st_size);
  ElfW(Ehdr) header;
  if (!file.ReadAt(0, &header, sizeof header) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) ||
      header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0 ||
      !Inside(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr)), fileSize))
    return false;
  std::vector<ElfW(Phdr)> segments(header.e_phnum);
  if (!file.ReadAt(header.e_phoff, segments.data(), segments.size() * sizeof(ElfW(Phdr))))
    return false;
  for (const auto& segment : segments)
    if (segment.p_type == PT_LOAD && !Inside(segment.p_offset, segment.p_filesz, fileSize))
      return false;
  return true;
}

}  // namespace pellory::data
