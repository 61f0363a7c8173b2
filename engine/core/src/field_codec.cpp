#include "field_codec.h"

#include <bit>
#include <cstring>

#include "byte_reader.h"

namespace pellory::engine {
namespace {

struct TypeInfo {
  std::uint16_t logical;
  std::uint16_t subtype;
};

TypeInfo LogicalTypeOf(std::uint8_t type) {
  switch (type) {
    case PEL_PX_ALPHA:
      return {PEL_TYPE_CHARACTER, PEL_SUB_NONE};
    case PEL_PX_DATE:
      return {PEL_TYPE_DATE, PEL_SUB_NONE};
    case PEL_PX_SHORT:
      return {PEL_TYPE_SHORT, PEL_SUB_NONE};
    case PEL_PX_LONG:
      return {PEL_TYPE_INTEGER, PEL_SUB_NONE};
    case PEL_PX_MONEY:
      return {PEL_TYPE_FLOAT, PEL_SUB_MONEY};
    case PEL_PX_NUMBER:
      return {PEL_TYPE_FLOAT, PEL_SUB_NONE};
    case PEL_PX_LOGICAL:
      return {PEL_TYPE_BOOLEAN, PEL_SUB_NONE};
    case PEL_PX_MEMO:
      return {PEL_TYPE_BLOB, PEL_SUB_MEMO};
    case PEL_PX_BINARY:
      return {PEL_TYPE_BLOB, PEL_SUB_BINARY};
    case PEL_PX_FMTMEMO:
      return {PEL_TYPE_BLOB, PEL_SUB_FORMATTED_MEMO};
    case PEL_PX_OLE:
      return {PEL_TYPE_BLOB, PEL_SUB_OLE};
    case PEL_PX_GRAPHIC:
      return {PEL_TYPE_BLOB, PEL_SUB_GRAPHIC};
    case PEL_PX_TIME:
      return {PEL_TYPE_TIME, PEL_SUB_NONE};
    case PEL_PX_TIMESTAMP:
      return {PEL_TYPE_TIMESTAMP, PEL_SUB_NONE};
    case PEL_PX_AUTOINC:
      return {PEL_TYPE_INTEGER, PEL_SUB_AUTOINC};
    case PEL_PX_BCD:
      return {PEL_TYPE_BCD, PEL_SUB_NONE};
    case PEL_PX_BYTES:
      return {PEL_TYPE_BYTES, PEL_SUB_NONE};
    default:
      return {PEL_TYPE_UNKNOWN, PEL_SUB_NONE};
  }
}

// Bytes of a field's value in the buffers the interface hands out
// (pel_field_descriptor.value_size).
std::uint16_t DescriptorValueSize(std::uint16_t logical, std::uint8_t size) {
  switch (logical) {
    case PEL_TYPE_CHARACTER:
      return static_cast<std::uint16_t>(size + 1);
    case PEL_TYPE_BYTES:
      return size;
    case PEL_TYPE_BOOLEAN:
    case PEL_TYPE_SHORT:
    case PEL_TYPE_WORD:
      return 2;
    case PEL_TYPE_FLOAT:
    case PEL_TYPE_TIMESTAMP:
      return 8;
    case PEL_TYPE_BCD:
      return 18;
    default:
      return 4;
  }
}

// Signed big-endian integer with the top bit flipped; false when blank.
bool DecodeInteger(const std::uint8_t* raw, std::size_t width, std::int64_t& value) {
  if (AllZero(raw, width)) return false;
  std::uint64_t bits = ReadUBe(raw, width) ^ (std::uint64_t{1} << (8 * width - 1));
  const std::uint64_t sign = std::uint64_t{1} << (8 * width - 1);
  value = (bits & sign) ? static_cast<std::int64_t>(bits | ~(sign * 2 - 1))
                        : static_cast<std::int64_t>(bits);
  return true;
}

bool DecodeDouble(const std::uint8_t* raw, double& value) {
  if (AllZero(raw, 8)) return false;
  std::uint64_t bits = ReadUBe(raw, 8);
  bits = (bits & (std::uint64_t{1} << 63)) ? bits & ~(std::uint64_t{1} << 63) : ~bits;
  value = std::bit_cast<double>(bits);
  return true;
}

template <typename T>
void Store(std::uint8_t* out, T value) {
  std::memcpy(out, &value, sizeof value);
}

bool DecodeBcd(const std::uint8_t* raw, std::uint16_t decimals, std::uint8_t* out) {
  // Byte 0 holds the sign (bit 7) and a marker (bit 6); a byte without either
  // is a blank some writers leave.
  if ((raw[0] & 0xC0) == 0) return false;
  const bool negative = (raw[0] & 0x80) == 0;
  bool nonZero = false;
  out[0] = 32;
  for (int i = 0; i < 16; ++i) {
    std::uint8_t pair = negative ? static_cast<std::uint8_t>(~raw[1 + i]) : raw[1 + i];
    // Digits above 9 are left by some writers in trailing places; read 0.
    std::uint8_t hi = pair >> 4, lo = pair & 0x0F;
    if (hi > 9) hi = 0;
    if (lo > 9) lo = 0;
    out[2 + i] = static_cast<std::uint8_t>((hi << 4) | lo);
    nonZero = nonZero || hi != 0 || lo != 0;
  }
  out[1] = static_cast<std::uint8_t>(((negative && nonZero) ? 0x80 : 0) | (decimals & 0x3F));
  return true;
}

bool DecodeScalar(const ColumnLayout& column, const std::uint8_t* raw, std::uint8_t* out) {
  std::int64_t integer = 0;
  double real = 0;
  switch (column.type) {
    case PEL_PX_SHORT:
      if (!DecodeInteger(raw, 2, integer)) return false;
      Store(out, static_cast<std::int16_t>(integer));
      return true;
    case PEL_PX_LONG:
    case PEL_PX_AUTOINC:
    case PEL_PX_TIME:
      if (!DecodeInteger(raw, 4, integer)) return false;
      Store(out, static_cast<std::int32_t>(integer));
      return true;
    case PEL_PX_DATE:
      // Day numbers of 0 and below are not dates (seen in real files).
      if (!DecodeInteger(raw, 4, integer) || integer <= 0) return false;
      Store(out, static_cast<std::int32_t>(integer));
      return true;
    case PEL_PX_MONEY:
    case PEL_PX_NUMBER:
      if (!DecodeDouble(raw, real)) return false;
      Store(out, real);
      return true;
    case PEL_PX_TIMESTAMP:
      if (!DecodeDouble(raw, real) || !(real >= 86400000.0)) return false;
      Store(out, real);
      return true;
    case PEL_PX_LOGICAL:
      if (raw[0] == 0) return false;
      Store(out, static_cast<std::int16_t>((raw[0] & 0x7F) != 0 ? 1 : 0));
      return true;
    default:
      return false;
  }
}

}  // namespace

pel_field_descriptor DescribeColumn(const ColumnLayout& column, std::uint16_t number) {
  pel_field_descriptor d{};
  d.number = number;
  const TypeInfo info = LogicalTypeOf(column.type);
  d.logical_type = info.logical;
  d.subtype = info.subtype;
  d.native_type = column.type;
  d.length = column.width;
  d.value_size = DescriptorValueSize(info.logical, column.size);
  switch (info.logical) {
    case PEL_TYPE_CHARACTER:
    case PEL_TYPE_BYTES:
    case PEL_TYPE_BLOB:
      d.units1 = column.size;
      break;
    case PEL_TYPE_BCD:
      d.units1 = 32;
      d.units2 = column.size;
      break;
    default:
      break;
  }
  return d;
}

BlobRef ReadBlobRef(const ColumnLayout& column, const std::uint8_t* record) {
  BlobRef ref;
  const std::uint8_t* field = record + column.offset;
  ref.leaderSize = static_cast<std::uint16_t>(column.width - 10);
  ref.leader = field;
  const std::uint8_t* tail = field + ref.leaderSize;
  const std::span<const std::uint8_t> bytes(tail, 10);
  ref.pointer = ReadU32Le(bytes, 0);
  ref.length = ReadU32Le(bytes, 4);
  return ref;
}

bool DecodeField(const ColumnLayout& column, const pel_field_descriptor& descriptor,
                 const std::uint8_t* record, std::uint8_t* out) {
  std::memset(out, 0, descriptor.value_size);
  const std::uint8_t* raw = record + column.offset;
  switch (descriptor.logical_type) {
    case PEL_TYPE_CHARACTER: {
      const void* nul = std::memchr(raw, 0, column.width);
      const std::size_t length =
          nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - raw)
              : column.width;
      std::memcpy(out, raw, length);
      return length == 0;
    }
    case PEL_TYPE_BYTES:
      if (AllZero(raw, column.width)) return true;
      std::memcpy(out, raw, column.width);
      return false;
    case PEL_TYPE_BLOB: {
      const BlobRef ref = ReadBlobRef(column, record);
      Store(out, ref.length);
      return ref.length == 0;
    }
    case PEL_TYPE_BCD: {
      const bool present = DecodeBcd(raw, descriptor.units2, out);
      if (!present) std::memset(out, 0, descriptor.value_size);
      return !present;
    }
    default: {
      const bool present = DecodeScalar(column, raw, out);
      if (!present) std::memset(out, 0, descriptor.value_size);
      return !present;
    }
  }
}

}  // namespace pellory::engine
