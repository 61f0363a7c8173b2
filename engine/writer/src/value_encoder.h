// Field values in the record's byte form: big-endian with the top bit turned
// over, so that all zero bytes mean blank and byte order is sort order.
#pragma once

#include <cstdint>
#include <string_view>

#include "pellory/engine/table_schema.h"

namespace pellory::writer {

// Writes a non-blob value into its ColumnWidth(column) bytes at out, which
// must be zero on entry. Throws SchemaError for a value of the wrong kind or
// out of the column's range.
void EncodeValue(const Column& column, const Value& value, std::uint8_t* out);

// Where a blob's bytes live in the blob file; offset 0 when the whole value
// sits in the record's leader.
struct BlobPlace {
  std::uint32_t offset = 0;  // of its block in the blob file
  std::uint8_t slot = 0;     // 0xFF for a block of its own, else the slot
  std::uint16_t modification = 0;
};

// Writes a blob column: the leader (the value's first bytes, for a graphic
// the first bytes of the picture after its 8-byte header) and the
// descriptor.
void EncodeBlobField(const Column& column, std::string_view bytes, const BlobPlace& place,
                     std::uint8_t* out);

// Writes a blob column whose value the blob file already holds: its leader
// as given, cut to the column's, and its descriptor.
void EncodeStoredBlobField(const Column& column, const StoredBlob& value, std::uint8_t* out);

// The Bcd record form of decimal text ("-12.5"), with `decimals` places.
void EncodeBcd(std::string_view text, std::uint8_t decimals, std::uint8_t* out);

}  // namespace pellory::writer
