// A file opened for reading only; positioned reads that either deliver every
// byte asked for, as the file held them when it was opened, or throw.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace pellory::engine {

// What tells one state of a file from another without reading it: the file
// itself (device, inode), its size, change times and link count as fstat
// gave them at opening. A rewrite changes the size or the times; a
// replacement by rename changes the inode.
struct FileIdentity {
  std::uint64_t device = 0, inode = 0, size = 0, links = 0;
  std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0, changedNanoseconds = 0;
  auto operator<=>(const FileIdentity&) const = default;
};

// Whether `now` may hold other bytes than `then`, the same file earlier.
// The status change time moves with every write, also one whose writer
// puts the modification time back, but also when the file is renamed over
// or removed; those change the link count and leave the bytes alone, so
// with another link count only the size and modification time count.
bool ContentMayDiffer(const FileIdentity& then, const FileIdentity& now);

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
  // file is too short, PEL_FILE_CHANGED when it is no longer the file it was
  // at opening).
  void ReadAt(std::uint64_t offset, void* out, std::size_t count, std::uint16_t damagedCode) const;
  // Whether this process may write the file (without opening it to write).
  bool Writable() const;

 private:
  // Throws PEL_FILE_CHANGED when the open file's size or times differ from
  // those at opening.
  void CheckUnchanged() const;

  int fd_ = -1;
  FileIdentity identity_;
  std::string path_;
};

}  // namespace pellory::engine
