// The table both filter fuzz targets work on (the test kit's filter table)
// and three fixed records, one of them all blank.
#pragma once

#include <cstring>
#include <vector>

#include "filter_program.h"
#include "pellory/testkit/filter_columns.h"

namespace pellory::fuzz {

inline std::vector<pel_field_descriptor> FuzzDescriptors() {
  return testkit::FilterDescriptors();
}

// Record `seed` % 3: 0 blank everywhere, 1 and 2 with values whose bytes
// follow from the seed; values are sized exactly as the engine sizes them.
class FuzzRecord : public engine::filter::RecordFields {
 public:
  explicit FuzzRecord(int kind) : kind_(kind) {}
  bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const override {
    const auto& columns = testkit::FilterColumns();
    if (number == 0 || number > columns.size()) return false;
    const testkit::FilterColumn& c = columns[number - 1u];
    value.assign(c.valueSize, 0);
    blank = kind_ == 0;
    if (blank) return true;
    if (c.type == PEL_TYPE_CHARACTER) {
      const char* text = kind_ == 1 ? "Italic Sans Serif" : "Wing";
      std::memcpy(value.data(), text, std::min<std::size_t>(std::strlen(text), c.valueSize - 1u));
    } else if (c.type == PEL_TYPE_BCD) {
      value[0] = 32;
      value[1] = static_cast<std::uint8_t>(c.units2 | (kind_ == 2 ? 0x80 : 0));
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
