// Field values other than text, decoded from the engine's value bytes
// (host byte order): integers, doubles, booleans, day numbers, milliseconds.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "pellory/data/field.h"

namespace pellory::data {
namespace {

template <typename T>
bool Decode(const std::optional<std::string>& value, T& out) {
  if (!value || value->size() < sizeof(T)) return false;
  std::memcpy(&out, value->data(), sizeof(T));
  return true;
}

// Day 1 is 1 January of the year 1 in the proleptic Gregorian calendar.
std::string DateText(long long day) {
  long long z = day - 719163 + 719468;  // days since 0000-03-01
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const long long d = doy - (153 * mp + 2) / 5 + 1;
  const long long m = mp < 10 ? mp + 3 : mp - 9;
  const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  std::array<char, 96> text{};
  std::snprintf(text.data(), text.size(), "%04lld-%02lld-%02lld", y, m, d);
  return text.data();
}

std::string TimeText(long long milliseconds) {
  const long long seconds = milliseconds / 1000;
  std::array<char, 96> text{};
  std::snprintf(text.data(), text.size(), "%02lld:%02lld:%02lld", seconds / 3600 % 24,
                seconds / 60 % 60, seconds % 60);
  return text.data();
}

// The engine's BCD value: byte 1 holds the sign (bit 7) and the decimals
// (bits 0-5); bytes 2-17 hold 32 digits, two a byte, high half first.
double DecodeBcd(const std::optional<std::string>& value) {
  if (!value || value->size() < 18) return 0;
  const auto sign = static_cast<unsigned char>((*value)[1]);
  const int decimals = sign & 0x3F;
  double magnitude = 0;
  for (int i = 0; i < 32; ++i) {
    const auto byte = static_cast<unsigned char>((*value)[2 + i / 2]);
    const int digit = i % 2 == 0 ? byte >> 4 : byte & 15;
    magnitude = magnitude * 10 + (digit > 9 ? 0 : digit);
  }
  magnitude /= std::pow(10.0, decimals > 32 ? 32 : decimals);
  return sign & 0x80 ? -magnitude : magnitude;
}

}  // namespace

double TNumberField::AsFloat() const {
  const auto value = CurrentValue();
  switch (DataType()) {
    case ftFloat:
    case ftCurrency: {
      double d = 0;
      return Decode(value, d) ? d : 0;
    }
    case ftBCD:
      return DecodeBcd(value);
    default:
      return static_cast<double>(AsInteger());
  }
}

long long TNumberField::AsInteger() const {
  const auto value = CurrentValue();
  switch (DataType()) {
    case ftSmallint: {
      std::int16_t v = 0;
      return Decode(value, v) ? v : 0;
    }
    case ftWord: {
      std::uint16_t v = 0;
      return Decode(value, v) ? v : 0;
    }
    case ftInteger:
    case ftAutoInc: {
      std::int32_t v = 0;
      return Decode(value, v) ? v : 0;
    }
    case ftLargeint: {
      std::int64_t v = 0;
      return Decode(value, v) ? v : 0;
    }
    default: {
      const double d = AsFloat();
      return std::isfinite(d) && std::fabs(d) < 9.2e18 ? static_cast<long long>(d) : 0;
    }
  }
}

std::string TNumberField::AsString() const {
  if (IsNull()) return {};
  if (DataType() != ftFloat && DataType() != ftCurrency && DataType() != ftBCD)
    return std::to_string(AsInteger());
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%.15g", AsFloat());
  return text.data();
}

bool TBooleanField::AsBoolean() const {
  std::int16_t v = 0;
  return Decode(CurrentValue(), v) && v != 0;
}

std::string TBooleanField::AsString() const {
  if (IsNull()) return {};
  return AsBoolean() ? "True" : "False";
}

std::string TDateTimeField::AsString() const {
  const auto value = CurrentValue();
  if (!value) return {};
  if (DataType() == ftDate) {
    std::int32_t day = 0;
    return Decode(value, day) ? DateText(day) : std::string();
  }
  if (DataType() == ftTime) {
    std::int32_t ms = 0;
    return Decode(value, ms) ? TimeText(ms) : std::string();
  }
  double stamp = 0;
  if (!Decode(value, stamp) || !std::isfinite(stamp) || stamp < 0 || stamp > 3.2e17) return {};
  const auto total = static_cast<long long>(stamp);
  return DateText(total / 86400000) + " " + TimeText(total % 86400000);
}

std::string TBytesField::AsString() const {
  const auto value = CurrentValue();
  if (!value) return {};
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char c : *value) {
    text += kDigits[c >> 4];
    text += kDigits[c & 15];
  }
  return text;
}

}  // namespace pellory::data
