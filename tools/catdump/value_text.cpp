#include "value_text.h"

#include <openssl/evp.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace pellory::catdump {
namespace {

template <typename T>
T Load(std::span<const std::uint8_t> value) {
  T out{};
  if (value.size() >= sizeof out) std::memcpy(&out, value.data(), sizeof out);
  return out;
}

std::string DoubleText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string BcdText(std::span<const std::uint8_t> value) {
  if (value.size() < 18) return {};
  const int decimals = value[1] & 0x3F;
  std::string text;
  if (value[1] & 0x80) text.push_back('-');
  bool leading = true;
  for (int i = 0; i < 32; ++i) {
    const int digit = (i % 2 == 0) ? value[2 + i / 2] >> 4 : value[2 + i / 2] & 0x0F;
    const bool fraction = i >= 32 - decimals;
    if (fraction && leading) {
      text.push_back('0');  // a whole part of zero
      leading = false;
    }
    if (fraction && i == 32 - decimals) text.push_back('.');
    if (leading && digit == 0 && i < 31) continue;
    leading = false;
    text.push_back(static_cast<char>('0' + digit));
  }
  return text;
}

}  // namespace

std::string DateText(std::int32_t day) {
  // Civil date from a day count (1 January of the year 1 is day 1), after
  // the well-known days-to-civil method, shifted to start on 1 March 0000.
  long z = static_cast<long>(day) + 305;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long y = yoe + era * 400;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const long d = doy - (153 * mp + 2) / 5 + 1;
  const long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04ld-%02ld-%02ld", y, m, d);
  return buffer;
}

std::string TimeText(std::int32_t ms) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return buffer;
}

std::string ScalarText(const pel_field_descriptor& field, std::span<const std::uint8_t> value) {
  switch (field.logical_type) {
    case PEL_TYPE_DATE:
      return DateText(Load<std::int32_t>(value));
    case PEL_TYPE_BOOLEAN:
      return Load<std::int16_t>(value) ? "TRUE" : "FALSE";
    case PEL_TYPE_SHORT:
      return std::to_string(Load<std::int16_t>(value));
    case PEL_TYPE_WORD:
      return std::to_string(Load<std::uint16_t>(value));
    case PEL_TYPE_INTEGER:
      return std::to_string(Load<std::int32_t>(value));
    case PEL_TYPE_FLOAT:
      return DoubleText(Load<double>(value));
    case PEL_TYPE_BCD:
      return BcdText(value);
    case PEL_TYPE_TIME:
      return TimeText(Load<std::int32_t>(value));
    case PEL_TYPE_TIMESTAMP: {
      const double stamp = Load<double>(value);
      const auto day = static_cast<std::int32_t>(std::floor(stamp / 86400000.0));
      const auto ms = static_cast<std::int32_t>(stamp - day * 86400000.0);
      return DateText(day) + " " + TimeText(ms);
    }
    case PEL_TYPE_BYTES: {
      std::string hex;
      char pair[3];
      for (std::uint8_t b : value) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        hex += pair;
      }
      return hex;
    }
    default:
      return {};
  }
}

std::string CsvCell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Md5Hex(std::span<const std::uint8_t> bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  char pair[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", digest[i]);
    hex += pair;
  }
  return hex;
}

}  // namespace pellory::catdump
