// A file opened for reading only; positioned reads that either deliver every
// byte asked for or throw.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace pellory::engine {

// What tells one state of a file from another without reading it: the file
// itself (device, inode) and its size and change times as fstat gave them at
// opening. A rewrite changes the size or the times; a replacement by rename
// changes the inode.
struct FileIdentity {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0, changedNanoseconds = 0;
  auto operator<=>(const FileIdentity&) const = default;
};

class ReadOnlyFile {
 public:
  // Throws EngineError: PEL_TABLE_NOT_FOUND (or notFoundCode), PEL_ACCESS_DENIED.
  ReadOnlyFile(const std::string& path, std::uint16_t notFoundCode);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  std::uint64_t size() const { return identity_.size; }
  const FileIdentity& identity() const { return identity_; }
  const std::string& path() const { return path_; }
  // Reads count bytes at offset; throws PEL_READ_FAILED (damagedCode when the
  // file is too short).
  void ReadAt(std::uint64_t offset, void* out, std::size_t count, std::uint16_t damagedCode) const;
  // Whether this process may write the file (without opening it to write).
  bool Writable() const;

 private:
  int fd_ = -1;
  FileIdentity identity_;
  std::string path_;
};

}  // namespace pellory::engine
