// A file written at chosen offsets, encrypted or not, in 256-byte units.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pellory::writer {

class OutputFile {
 public:
  // Creates (or truncates) the file; throws WriteError naming it.
  explicit OutputFile(std::filesystem::path path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void WriteAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes);
  // Flushes to the file system and closes; throws WriteError on failure.
  void Close();

 private:
  [[noreturn]] void Fail(const char* what) const;

  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace pellory::writer
