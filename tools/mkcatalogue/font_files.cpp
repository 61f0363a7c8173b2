#include "font_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellory::mkcatalogue {
FontFiles::~FontFiles() {
  for (auto& [name, mapping] : files_)
    if (mapping.address) ::munmap(const_cast<void*>(mapping.address), mapping.size);
}

std::string_view FontFiles::Bytes(const std::filesystem::path& file, FT_Error* error) {
  const std::lock_guard lock(lock_);
  auto [it, made] = files_.try_emplace(file.string());
  Mapping& m = it->second;
  if (made) {
    // As FreeType's own stream: a file it cannot open is a resource it
    // cannot open, an empty one or one it cannot read a stream it cannot.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
      m.error = FT_Err_Cannot_Open_Resource;
    } else if (::fstat(fd, &st) != 0 || st.st_size <= 0) {
      m.error = FT_Err_Cannot_Open_Stream;
    } else {
      void* address =
          ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (address == MAP_FAILED)
        m.error = FT_Err_Cannot_Open_Stream;
      else
        m = {address, static_cast<std::size_t>(st.st_size), 0};
    }
    if (fd >= 0) ::close(fd);
  }
  *error = m.error;
  return {static_cast<const char*>(m.address), m.size};
}

FontFace FontFiles::Open(FT_Library library, const std::filesystem::path& file, int index,
                         std::string* error) {
  FT_Error code = 0;
  const std::string_view bytes = Bytes(file, &code);
  FT_Face face = nullptr;
  if (code == 0)
    code = FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes.data()),
                              static_cast<FT_Long>(bytes.size()), index, &face);
  return OpenedFace(code, face, error);
}

}  // namespace pellory::mkcatalogue
