// The columns and values the table writer takes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace pellory::writer {

// Paradox's own type codes, as they stand in the header's field descriptors.
enum class FieldType : std::uint8_t {
  Alpha = 0x01,
  Date = 0x02,
  Short = 0x03,
  Long = 0x04,
  Money = 0x05,
  Number = 0x06,
  Logical = 0x09,
  Memo = 0x0C,
  Binary = 0x0D,
  FormattedMemo = 0x0E,
  Ole = 0x0F,
  Graphic = 0x10,
  Time = 0x14,
  Timestamp = 0x15,
  AutoIncrement = 0x16,
  Bcd = 0x17,
  Bytes = 0x18,
};

bool IsBlobType(FieldType type);

struct Column {
  std::string name;  // UTF-8; stored in the table's code page
  FieldType type = FieldType::Alpha;
  // Alpha: characters (1-255). Bytes: bytes (1-255). Blob types: the column's
  // bytes in the record, leader plus the 10-byte descriptor (10-250; memos
  // need at least 11). Bcd: decimals (0-32). Ignored for the other types.
  std::uint8_t size = 0;
};

// One value of a row:
//  - Blank: the column's blank value (an autoincrement column counts on);
//  - std::string: Alpha text already in the table's code page, blob bytes,
//    Bytes, or a Bcd value as decimal text ("-12.50");
//  - std::int64_t: Short, Long, AutoIncrement, Date (day number, 1 January of
//    the year 1 = 1), Time (milliseconds since midnight);
//  - double: Number, Money, Timestamp (day number times 86400000 plus the
//    milliseconds of the day);
//  - bool: Logical;
//  - StoredBlob: a blob value the blob file being added to already holds.
struct Blank {};

// Where a blob value lies in the blob file, as a record's descriptor points
// at it: the offset of its block with, in the low byte, its slot (0xFF for a
// block of its own); its length; the modification number.
struct BlobPointer {
  std::uint32_t pointer = 0;  // 0: none, the value fits the record's leader or is blank
  std::uint32_t length = 0;
  std::uint16_t modification = 0;
  bool operator==(const BlobPointer&) const = default;
};

// A value that an earlier table put into the blob file this one adds to
// (TableOptions::extendBlobFile): the record points at it and nothing is
// written. `leader`: what the record's leader holds, the value's first bytes
// (for a picture, those of the image after its 8-byte header).
struct StoredBlob {
  BlobPointer at;
  std::string leader;
};

using Value = std::variant<Blank, std::string, std::int64_t, double, bool, StoredBlob>;
using Row = std::vector<Value>;

// A column or value the table cannot hold; the message names the column.
class SchemaError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The file system refused a write; the message names the file.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bytes the column takes in a record (17 for Bcd).
std::uint16_t ColumnWidth(const Column& column);
// Throws SchemaError for a size the type cannot have.
void CheckColumn(const Column& column);

}  // namespace pellory::writer
