// Converting constant texts to the engine's value format: integers by their
// range, floats, BCD with the field's decimals, and dates and times written
// as "YYYY-MM-DD" or "M/D/YYYY" and "H:MM[:SS[.mmm]]".
#include "filter_constants.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

namespace pellory::data::filter {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;

[[noreturn]] void WrongType(FilterDataKind kind) {
  throw FilterCompileError(std::string("Constant is not correct type ") + KindName(kind));
}
[[noreturn]] void OutOfRange() {
  throw FilterCompileError("Constant out of range");
}

template <typename T>
std::vector<std::uint8_t> Bytes(T value) {
  std::vector<std::uint8_t> out(sizeof value);
  std::memcpy(out.data(), &value, sizeof value);
  return out;
}

template <typename T>
std::optional<T> Whole(std::string_view text) {
  T value{};
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ptr != text.data() + text.size()) return std::nullopt;
  if (ec == std::errc::result_out_of_range) OutOfRange();
  if (ec != std::errc()) return std::nullopt;
  return value;
}

std::vector<std::uint8_t> Integer(const Expr& c, std::int64_t low, std::int64_t high) {
  const auto value = c.kind == ExprKind::TruthConstant ? std::nullopt : Whole<std::int64_t>(c.text);
  if (!value) WrongType(c.type);
  if (*value < low || *value > high) OutOfRange();
  if (c.type == FilterDataKind::Integer) return Bytes(static_cast<std::int32_t>(*value));
  if (c.type == FilterDataKind::Word) return Bytes(static_cast<std::uint16_t>(*value));
  return Bytes(static_cast<std::int16_t>(*value));
}

std::vector<std::uint8_t> Float(const Expr& c) {
  const auto value = Whole<double>(c.text);
  if (c.kind == ExprKind::TruthConstant || !value || !std::isfinite(*value)) WrongType(c.type);
  return Bytes(*value);
}

std::vector<std::uint8_t> Truth(const Expr& c) {
  if (c.kind == ExprKind::TruthConstant) return Bytes<std::int16_t>(c.truth ? 1 : 0);
  if (c.text == "0" || c.text == "1") return Bytes<std::int16_t>(c.text == "1" ? 1 : 0);
  WrongType(c.type);
}

// 32 digits, right-aligned, the last `decimals` of them the fraction.
std::vector<std::uint8_t> Bcd(const Expr& c) {
  if (c.kind == ExprKind::TruthConstant || c.decimals < 0 || c.decimals > 32) WrongType(c.type);
  std::string_view text = c.text;
  const bool negative = !text.empty() && text.front() == '-';
  if (negative || (!text.empty() && text.front() == '+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  std::string integer(text.substr(0, point));
  std::string fraction(point == std::string_view::npos ? "" : text.substr(point + 1));
  const auto digitsOnly = [](const std::string& s) {
    return s.find_first_not_of("0123456789") == std::string::npos;
  };
  if ((integer.empty() && fraction.empty()) || !digitsOnly(integer) || !digitsOnly(fraction))
    WrongType(c.type);
  const auto decimals = static_cast<std::size_t>(c.decimals);
  while (fraction.size() > decimals && fraction.back() == '0') fraction.pop_back();
  if (fraction.size() > decimals) WrongType(c.type);  // would need rounding
  integer.erase(0, integer.find_first_not_of('0'));
  if (integer.size() > 32 - decimals) OutOfRange();
  std::string digits = std::string(32 - decimals - integer.size(), '0') + integer + fraction +
                       std::string(decimals - fraction.size(), '0');
  std::vector<std::uint8_t> out(18, 0);
  out[0] = 32;
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  out[1] = static_cast<std::uint8_t>((negative && !zero ? 0x80 : 0) | decimals);
  for (std::size_t i = 0; i < 32; ++i)
    out[2 + i / 2] |= static_cast<std::uint8_t>((digits[i] - '0') << (i % 2 == 0 ? 4 : 0));
  return out;
}

// Day number of a civil date, 1 January of the year 1 being day 1.
std::optional<std::int32_t> DayNumber(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  const int y = year - 1;
  std::int32_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += kDays[m - 1] + (m == 2 && leap ? 1 : 0);
  return days + day;
}

// Whole numbers separated by the given characters, e.g. "2024-05-17".
bool SplitNumbers(std::string_view text, char separator, int* parts, int count) {
  for (int i = 0; i < count; ++i) {
    const std::size_t end = i + 1 < count ? text.find(separator) : text.size();
    if (end == std::string_view::npos || end == 0) return false;
    const auto value = Whole<int>(text.substr(0, end));
    if (!value || *value < 0) return false;
    parts[i] = *value;
    text.remove_prefix(end == text.size() ? end : end + 1);
  }
  return true;
}

std::optional<std::int32_t> ParseDate(std::string_view text) {
  int p[3];
  if (SplitNumbers(text, '-', p, 3)) return DayNumber(p[0], p[1], p[2]);
  if (SplitNumbers(text, '/', p, 3)) return DayNumber(p[2], p[0], p[1]);
  return std::nullopt;
}

std::optional<std::int32_t> ParseTime(std::string_view text) {
  int milliseconds = 0;
  if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
    const std::string_view fraction = text.substr(dot + 1);
    const auto ms = Whole<int>(fraction);
    if (!ms || fraction.size() != 3 || *ms < 0) return std::nullopt;
    milliseconds = *ms;
    text = text.substr(0, dot);
  }
  int p[3] = {0, 0, 0};
  const int count = static_cast<int>(std::count(text.begin(), text.end(), ':')) + 1;
  if (count < 2 || count > 3 || !SplitNumbers(text, ':', p, count)) return std::nullopt;
  if (p[0] > 23 || p[1] > 59 || p[2] > 59) return std::nullopt;
  return ((p[0] * 60 + p[1]) * 60 + p[2]) * 1000 + milliseconds;
}

std::vector<std::uint8_t> Temporal(const Expr& c) {
  if (c.kind != ExprKind::StringConstant) WrongType(c.type);
  std::string_view text = c.text;
  if (c.type == FilterDataKind::Time) {
    const auto ms = ParseTime(text);
    if (!ms) WrongType(c.type);
    return Bytes(*ms);
  }
  const std::size_t blank = text.find(' ');
  const auto day = ParseDate(text.substr(0, blank));
  if (!day || (c.type == FilterDataKind::Date && blank != std::string_view::npos))
    WrongType(c.type);
  if (c.type == FilterDataKind::Date) return Bytes(*day);
  std::int32_t ms = 0;
  if (blank != std::string_view::npos) {
    const auto time = ParseTime(text.substr(blank + 1));
    if (!time) WrongType(c.type);
    ms = *time;
  }
  return Bytes(static_cast<double>(*day) * kMillisecondsPerDay + ms);
}

}  // namespace

const char* KindName(FilterDataKind kind) {
  switch (kind) {
    case FilterDataKind::String:
      return "String";
    case FilterDataKind::Date:
      return "Date";
    case FilterDataKind::Blob:
      return "Blob";
    case FilterDataKind::Boolean:
      return "Boolean";
    case FilterDataKind::SmallInt:
      return "SmallInt";
    case FilterDataKind::Integer:
      return "Integer";
    case FilterDataKind::Float:
      return "Float";
    case FilterDataKind::BCD:
      return "BCD";
    case FilterDataKind::Bytes:
      return "Bytes";
    case FilterDataKind::Time:
      return "Time";
    case FilterDataKind::DateTime:
      return "DateTime";
    case FilterDataKind::Word:
      return "Word";
    default:
      return "Unknown";
  }
}

std::vector<std::uint8_t> EncodeTypedConstant(const Expr& c) {
  switch (c.type) {
    case FilterDataKind::SmallInt:
      return Integer(c, INT16_MIN, INT16_MAX);
    case FilterDataKind::Integer:
      return Integer(c, INT32_MIN, INT32_MAX);
    case FilterDataKind::Word:
      return Integer(c, 0, UINT16_MAX);
    case FilterDataKind::Float:
      return Float(c);
    case FilterDataKind::BCD:
      return Bcd(c);
    case FilterDataKind::Boolean:
      return Truth(c);
    case FilterDataKind::Date:
    case FilterDataKind::Time:
    case FilterDataKind::DateTime:
      return Temporal(c);
    default:
      WrongType(c.type);
  }
}

}  // namespace pellory::data::filter
