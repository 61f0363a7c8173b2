// A file opened for reading only; positioned reads that either deliver every
// byte asked for or throw.
#pragma once

#include <cstdint>
#include <string>

namespace pellory::engine {

class ReadOnlyFile {
 public:
  // Throws EngineError: PEL_TABLE_NOT_FOUND (or notFoundCode), PEL_ACCESS_DENIED.
  ReadOnlyFile(const std::string& path, std::uint16_t notFoundCode);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  std::uint64_t size() const { return size_; }
  const std::string& path() const { return path_; }
  // Reads count bytes at offset; throws PEL_READ_FAILED (damagedCode when the
  // file is too short).
  void ReadAt(std::uint64_t offset, void* out, std::size_t count, std::uint16_t damagedCode) const;
  // Whether this process may write the file (without opening it to write).
  bool Writable() const;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::string path_;
};

}  // namespace pellory::engine
