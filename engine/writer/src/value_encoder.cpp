#include "value_encoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace pellory::writer {
namespace {

[[noreturn]] void Fail(const Column& column, const std::string& why) {
  throw SchemaError("column '" + column.name + "': " + why);
}

void PutLe(std::uint8_t* out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Two's complement, big-endian, top bit turned over: 1 -> 80 01, -40 -> 7F D8.
void PutInteger(std::uint8_t* out, std::int64_t value, int bytes) {
  const auto bits = static_cast<std::uint64_t>(value);
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * (bytes - 1 - i)));
  out[0] ^= 0x80;
}

// Positive doubles get their sign bit set, negative ones are inverted whole.
void PutDouble(std::uint8_t* out, double value) {
  auto bits = std::bit_cast<std::uint64_t>(value);
  bits = (bits >> 63) ? ~bits : bits | (std::uint64_t{1} << 63);
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * (7 - i)));
}

template <typename T>
const T& Need(const Column& column, const Value& value, const char* kind) {
  const T* held = std::get_if<T>(&value);
  if (!held) Fail(column, std::string("expects ") + kind);
  return *held;
}

std::int64_t Ranged(const Column& column, const Value& value, std::int64_t low, std::int64_t high) {
  const std::int64_t v = Need<std::int64_t>(column, value, "an integer");
  if (v < low || v > high) Fail(column, "value " + std::to_string(v) + " out of range");
  return v;
}

void EncodeText(const Column& column, const std::string& text, std::uint8_t* out) {
  if (text.size() > column.size)
    Fail(column, "text of " + std::to_string(text.size()) + " bytes is longer than the column");
  if (text.find('\0') != std::string::npos) Fail(column, "text holds a zero byte");
  std::memcpy(out, text.data(), text.size());
}

}  // namespace

void EncodeValue(const Column& column, const Value& value, std::uint8_t* out) {
  if (std::holds_alternative<Blank>(value)) return;
  // The lowest two's complement value would turn into all zero bytes, which
  // read as blank; so ranges are symmetric.
  constexpr std::int64_t kInt32Max = 2147483647, kInt32Min = -kInt32Max;
  switch (column.type) {
    case FieldType::Alpha:
      return EncodeText(column, Need<std::string>(column, value, "text"), out);
    case FieldType::Bytes: {
      const auto& bytes = Need<std::string>(column, value, "bytes");
      if (bytes.size() > column.size) Fail(column, "more bytes than the column holds");
      std::memcpy(out, bytes.data(), bytes.size());
      return;
    }
    case FieldType::Short:
      return PutInteger(out, Ranged(column, value, -32767, 32767), 2);
    case FieldType::Long:
    case FieldType::AutoIncrement:
      return PutInteger(out, Ranged(column, value, kInt32Min, kInt32Max), 4);
    case FieldType::Date:
      // Day numbers below 1 read as blank, so they cannot be stored.
      return PutInteger(out, Ranged(column, value, 1, kInt32Max), 4);
    case FieldType::Time:
      return PutInteger(out, Ranged(column, value, 0, 86'399'999), 4);
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::Timestamp:
      return PutDouble(out, Need<double>(column, value, "a number"));
    case FieldType::Logical:
      out[0] = Need<bool>(column, value, "true or false") ? 0x81 : 0x80;
      return;
    case FieldType::Bcd:
      try {
        return EncodeBcd(Need<std::string>(column, value, "decimal text"), column.size, out);
      } catch (const SchemaError& e) {
        Fail(column, e.what());
      }
    default:
      Fail(column, "is a blob column");
  }
}

void EncodeBcd(std::string_view text, std::uint8_t decimals, std::uint8_t* out) {
  const std::string original(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const auto point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  const auto digits = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if ((whole.empty() && fraction.empty()) || !digits(whole) || !digits(fraction))
    throw SchemaError("'" + original + "' is not a decimal number");
  while (whole.size() > 1 && whole[0] == '0') whole.remove_prefix(1);
  while (fraction.size() > decimals && fraction.back() == '0') fraction.remove_suffix(1);
  if (fraction.size() > decimals || whole.size() + decimals > 32)
    throw SchemaError("'" + original + "' does not fit 32 digits with " + std::to_string(decimals) +
                      " decimals");
  // 32 digits, right-aligned, the last `decimals` of them the fraction.
  std::string nibbles(32, '0');
  nibbles.replace(32 - decimals - whole.size(), whole.size(), whole);
  nibbles.replace(32 - decimals, fraction.size(), fraction);
  const bool zero = nibbles.find_first_not_of('0') == std::string::npos;
  negative = negative && !zero;
  out[0] = static_cast<std::uint8_t>((negative ? 0x40 : 0xC0) | decimals);
  for (int i = 0; i < 16; ++i) {
    auto pair =
        static_cast<std::uint8_t>(((nibbles[2 * i] - '0') << 4) | (nibbles[2 * i + 1] - '0'));
    out[1 + i] = negative ? static_cast<std::uint8_t>(~pair) : pair;
  }
}

void EncodeBlobField(const Column& column, std::string_view bytes, const BlobPlace& place,
                     std::uint8_t* out) {
  const std::size_t leader = column.size - 10u;
  if (bytes.size() > leader && column.type == FieldType::Graphic && bytes.size() > 8) {
    // Paradox's leader of a stored picture copies the image, not its header.
    const std::string_view image = bytes.substr(8);
    std::memcpy(out, image.data(), std::min(leader, image.size()));
  } else {
    std::memcpy(out, bytes.data(), std::min(leader, bytes.size()));
  }
  std::uint8_t* tail = out + leader;
  PutLe(tail, (std::uint64_t{place.offset} & 0xFFFFFF00u) | place.slot, 4);
  PutLe(tail + 4, bytes.size(), 4);
  PutLe(tail + 8, place.modification, 2);
}

void EncodeStoredBlobField(const Column& column, const StoredBlob& value, std::uint8_t* out) {
  const std::size_t leader = column.size - 10u;
  std::memcpy(out, value.leader.data(), std::min(leader, value.leader.size()));
  std::uint8_t* tail = out + leader;
  PutLe(tail, value.at.pointer, 4);
  PutLe(tail + 4, value.at.length, 4);
  PutLe(tail + 8, value.at.modification, 2);
}

}  // namespace pellory::writer
