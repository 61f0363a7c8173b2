// A file written at chosen offsets, encrypted or not, in 256-byte units.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pellory::writer {

class OutputFile {
 public:
  // Creates (or truncates) the file; with `keep`, opens an existing file to
  // write into, its bytes kept. Throws WriteError naming it.
  explicit OutputFile(std::filesystem::path path, bool keep = false);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void WriteAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes);
  // The file's size now.
  std::uint64_t Size() const;
  // Flushes to the file system and closes; throws WriteError on failure.
  void Close();

 private:
  [[noreturn]] void Fail(const char* what) const;

  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace pellory::writer
