// TBlobStream: one read of one blob field of the current record. Reads that
// run forward from 0 without a gap fill the record buffer's slot, so the next
// stream on the same record needs no engine read.
#pragma once

#include <cstdint>
#include <string>

namespace pellory::data {

class TBlobField;
class TDataSet;
struct RecordBuffer;

class TBlobStream {
 public:
  enum class Origin { Beginning, Current, End };

  explicit TBlobStream(const TBlobField& field);
  ~TBlobStream();
  TBlobStream(const TBlobStream&) = delete;
  TBlobStream& operator=(const TBlobStream&) = delete;

  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return position_; }
  bool Cached() const { return cached_; }
  // Up to count bytes from the position (converted for a transliterated
  // field); the position advances by the value bytes consumed.
  std::string Read(std::size_t count);
  std::uint64_t Seek(std::int64_t offset, Origin origin);

 private:
  std::string ReadFromEngine(std::size_t count);

  const TBlobField& field_;
  TDataSet* dataSet_ = nullptr;
  RecordBuffer* buffer_ = nullptr;
  bool opened_ = false;
  bool cached_ = false;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  // The value read so far in order from 0, and how many value bytes it covers.
  std::string copy_;
  std::uint64_t copyEnd_ = 0;
};

}  // namespace pellory::data
