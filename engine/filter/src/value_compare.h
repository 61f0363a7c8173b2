// Comparing field values and constants in the engine's value format.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace pellory::engine::filter {

struct TypedValue {
  std::uint16_t type = 0;  // PEL_TYPE_ code
  std::span<const std::uint8_t> bytes;
};

// Which values can be compared with each other: 0 for none (blobs, bytes,
// unknown types), otherwise equal numbers for comparable types.
int ComparisonFamily(std::uint16_t type);

// The fewest bytes a value of the type needs to be compared (strings: their
// zero byte).
std::size_t MinimumValueSize(std::uint16_t type);

// The ordering of a and b (<0, 0, >0), or nothing when they are not
// comparable or a value is too short for its type.
std::optional<int> CompareValues(const TypedValue& a, const TypedValue& b);

// The text of a string value: its bytes up to the first zero byte.
std::span<const std::uint8_t> TextOf(std::span<const std::uint8_t> bytes);

// Whether the first `length` bytes of text equal those of constant; a text
// shorter than length never matches.
bool PrefixEquals(std::span<const std::uint8_t> text, std::span<const std::uint8_t> constant,
                  std::size_t length, bool ignoreCase);
bool TextEquals(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, bool ignoreCase);
// SQL-style pattern: '%' any run of characters, '_' any one character.
bool TextLike(std::span<const std::uint8_t> text, std::span<const std::uint8_t> pattern,
              bool ignoreCase);

}  // namespace pellory::engine::filter
