// The table both filter fuzz targets work on: the catalogue's columns plus
// one of every other type, and three fixed records (one of them all blank).
#pragma once

#include <cstring>
#include <vector>

#include "filter_program.h"

namespace pellory::fuzz {

struct FuzzColumn {
  const char* name;
  std::uint16_t type;
  std::uint16_t decimals;
  std::uint16_t valueSize;
};

inline const FuzzColumn kFuzzColumns[] = {
    {"Font Name", PEL_TYPE_CHARACTER, 0, 46},
    {"Filename", PEL_TYPE_CHARACTER, 0, 14},
    {"Category", PEL_TYPE_CHARACTER, 0, 56},
    {"Description", PEL_TYPE_BLOB, 0, 4},
    {"Sample3", PEL_TYPE_BLOB, 0, 4},
    {"Count", PEL_TYPE_SHORT, 0, 2},
    {"Total", PEL_TYPE_INTEGER, 0, 4},
    {"Price", PEL_TYPE_FLOAT, 0, 8},
    {"Amount", PEL_TYPE_BCD, 2, 18},
    {"Born", PEL_TYPE_DATE, 0, 4},
    {"At", PEL_TYPE_TIME, 0, 4},
    {"Stamp", PEL_TYPE_TIMESTAMP, 0, 8},
    {"Flag", PEL_TYPE_BOOLEAN, 0, 2},
    {"Code", PEL_TYPE_WORD, 0, 2},
    {"Raw", PEL_TYPE_BYTES, 0, 4},
};

inline std::vector<pel_field_descriptor> FuzzDescriptors() {
  std::vector<pel_field_descriptor> out;
  for (const FuzzColumn& c : kFuzzColumns) {
    pel_field_descriptor d{};
    d.number = static_cast<std::uint16_t>(out.size() + 1);
    std::strncpy(d.name, c.name, sizeof d.name - 1);
    d.logical_type = c.type;
    d.units2 = c.decimals;
    d.value_size = c.valueSize;
    out.push_back(d);
  }
  return out;
}

// Record `seed` % 3: 0 blank everywhere, 1 and 2 with values whose bytes
// follow from the seed; values are sized exactly as the engine sizes them.
class FuzzRecord : public engine::filter::RecordFields {
 public:
  explicit FuzzRecord(int kind) : kind_(kind) {}
  bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const override {
    if (number == 0 || number > std::size(kFuzzColumns)) return false;
    const FuzzColumn& c = kFuzzColumns[number - 1];
    value.assign(c.valueSize, 0);
    blank = kind_ == 0;
    if (blank) return true;
    if (c.type == PEL_TYPE_CHARACTER) {
      const char* text = kind_ == 1 ? "Italic Sans Serif" : "Wing";
      std::memcpy(value.data(), text, std::min<std::size_t>(std::strlen(text), c.valueSize - 1u));
    } else if (c.type == PEL_TYPE_BCD) {
      value[0] = 32;
      value[1] = static_cast<std::uint8_t>(c.decimals | (kind_ == 2 ? 0x80 : 0));
      value[17] = 0x25;
    } else {
      for (std::size_t i = 0; i < value.size(); ++i)
        value[i] = static_cast<std::uint8_t>(kind_ * 37 + number + i);
    }
    return true;
  }
  bool ReadBlob(std::uint16_t, std::vector<std::uint8_t>& bytes, bool& blank) const override {
    static const char text[] = "A sans serif for headings";
    bytes.assign(text, text + sizeof text - 1);
    blank = kind_ == 0;
    return true;
  }

 private:
  int kind_;
};

}  // namespace pellory::fuzz
