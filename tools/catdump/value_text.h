// Field values as catdump writes them: dates as YYYY-MM-DD, times as
// HH:MM:SS.mmm, numbers in their shortest exact form, BCD with the column's
// decimals, booleans TRUE/FALSE, bytes in hex.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "pellory/engine.h"

namespace pellory::catdump {

// The text of a non-blank scalar value (not character, not blob).
std::string ScalarText(const pel_field_descriptor& field, std::span<const std::uint8_t> value);

std::string DateText(std::int32_t day);
std::string TimeText(std::int32_t milliseconds);

// One CSV cell: quoted when it holds a comma, quote or line break.
std::string CsvCell(const std::string& text);

// Lower-case hex MD5 of the bytes.
std::string Md5Hex(std::span<const std::uint8_t> bytes);

}  // namespace pellory::catdump
