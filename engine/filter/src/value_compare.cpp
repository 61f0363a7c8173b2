// Typed comparison of values in the engine's value format (see engine.h).
#include "value_compare.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "pellory/engine.h"

namespace pellory::engine::filter {
namespace {

enum Family { kNotComparable, kText, kNumber, kDate, kTime, kTimestamp, kTruth };

template <typename T>
T Load(std::span<const std::uint8_t> bytes) {
  T value;
  std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// A BCD value (precision byte, sign and decimals byte, 32 digits) placed on a
// fixed grid of 32 integer and 32 fraction digits, so that values with
// different decimals compare digit by digit.
struct GridDecimal {
  bool negative = false;
  std::array<std::uint8_t, 64> digits{};
};

GridDecimal ToGrid(std::span<const std::uint8_t> bytes) {
  GridDecimal grid;
  const unsigned decimals = std::min(bytes[1] & 0x3Fu, 32u);
  bool zero = true;
  for (unsigned i = 0; i < 32; ++i) {
    const std::uint8_t pair = bytes[2 + i / 2];
    const std::uint8_t digit = (i % 2 == 0) ? pair >> 4 : pair & 0x0F;
    grid.digits[i + decimals] = digit;
    zero = zero && digit == 0;
  }
  grid.negative = !zero && (bytes[1] & 0x80) != 0;
  return grid;
}

int CompareBcd(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  const GridDecimal x = ToGrid(a);
  const GridDecimal y = ToGrid(b);
  if (x.negative != y.negative) return x.negative ? -1 : 1;
  const int magnitude = Order(x.digits, y.digits);
  return x.negative ? -magnitude : magnitude;
}

// Through decimal text, so that the double is the nearest to the BCD value
// (12.34 in BCD equals the double 12.34).
double BcdToDouble(std::span<const std::uint8_t> bytes) {
  const GridDecimal grid = ToGrid(bytes);
  char text[70];
  std::size_t n = 0;
  if (grid.negative) text[n++] = '-';
  for (std::size_t i = 0; i < grid.digits.size(); ++i) {
    if (i == 32) text[n++] = '.';
    text[n++] = static_cast<char>('0' + grid.digits[i]);
  }
  double value = 0;
  std::from_chars(text, text + n, value);
  return value;
}

double NumberOf(const TypedValue& v) {
  switch (v.type) {
    case PEL_TYPE_SHORT:
      return Load<std::int16_t>(v.bytes);
    case PEL_TYPE_INTEGER:
      return Load<std::int32_t>(v.bytes);
    case PEL_TYPE_WORD:
      return Load<std::uint16_t>(v.bytes);
    case PEL_TYPE_FLOAT:
      return Load<double>(v.bytes);
    default:
      return BcdToDouble(v.bytes);
  }
}

int CompareText(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  const auto x = TextOf(a);
  const auto y = TextOf(b);
  const auto order = std::lexicographical_compare_three_way(x.begin(), x.end(), y.begin(), y.end());
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::uint8_t Fold(std::uint8_t c, bool ignoreCase) {
  return (ignoreCase && c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

}  // namespace

int ComparisonFamily(std::uint16_t type) {
  switch (type) {
    case PEL_TYPE_CHARACTER:
      return kText;
    case PEL_TYPE_SHORT:
    case PEL_TYPE_INTEGER:
    case PEL_TYPE_FLOAT:
    case PEL_TYPE_BCD:
    case PEL_TYPE_WORD:
      return kNumber;
    case PEL_TYPE_DATE:
      return kDate;
    case PEL_TYPE_TIME:
      return kTime;
    case PEL_TYPE_TIMESTAMP:
      return kTimestamp;
    case PEL_TYPE_BOOLEAN:
      return kTruth;
    default:
      return kNotComparable;
  }
}

std::size_t MinimumValueSize(std::uint16_t type) {
  switch (type) {
    case PEL_TYPE_CHARACTER:
      return 1;
    case PEL_TYPE_BOOLEAN:
    case PEL_TYPE_SHORT:
    case PEL_TYPE_WORD:
      return 2;
    case PEL_TYPE_DATE:
    case PEL_TYPE_INTEGER:
    case PEL_TYPE_TIME:
      return 4;
    case PEL_TYPE_FLOAT:
    case PEL_TYPE_TIMESTAMP:
      return 8;
    case PEL_TYPE_BCD:
      return 18;
    default:
      return 0;
  }
}

std::span<const std::uint8_t> TextOf(std::span<const std::uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return bytes.first(static_cast<std::size_t>(end - bytes.begin()));
}

std::optional<int> CompareValues(const TypedValue& a, const TypedValue& b) {
  const int family = ComparisonFamily(a.type);
  if (family == kNotComparable || family != ComparisonFamily(b.type)) return std::nullopt;
  if (a.bytes.size() < MinimumValueSize(a.type) || b.bytes.size() < MinimumValueSize(b.type))
    return std::nullopt;
  switch (family) {
    case kText:
      return CompareText(a.bytes, b.bytes);
    case kDate:
    case kTime:
      return Order(Load<std::int32_t>(a.bytes), Load<std::int32_t>(b.bytes));
    case kTimestamp:
      return Order(Load<double>(a.bytes), Load<double>(b.bytes));
    case kTruth:
      return Order(Load<std::int16_t>(a.bytes) != 0, Load<std::int16_t>(b.bytes) != 0);
    default:
      if (a.type == PEL_TYPE_BCD && b.type == PEL_TYPE_BCD) return CompareBcd(a.bytes, b.bytes);
      return Order(NumberOf(a), NumberOf(b));
  }
}

bool PrefixEquals(std::span<const std::uint8_t> text, std::span<const std::uint8_t> constant,
                  std::size_t length, bool ignoreCase) {
  if (text.size() < length || constant.size() < length) return false;
  return TextEquals(text.first(length), constant.first(length), ignoreCase);
}

bool TextEquals(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, bool ignoreCase) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](std::uint8_t x, std::uint8_t y) {
    return Fold(x, ignoreCase) == Fold(y, ignoreCase);
  });
}

bool TextLike(std::span<const std::uint8_t> text, std::span<const std::uint8_t> pattern,
              bool ignoreCase) {
  // Backtracks only to the last '%', which keeps the match linear per
  // pattern position instead of exponential.
  std::size_t t = 0, p = 0, star = pattern.size(), mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '%') {
      star = p++;
      mark = t;
    } else if (p < pattern.size() &&
               (pattern[p] == '_' || Fold(pattern[p], ignoreCase) == Fold(text[t], ignoreCase))) {
      ++p;
      ++t;
    } else if (star != pattern.size()) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

}  // namespace pellory::engine::filter
