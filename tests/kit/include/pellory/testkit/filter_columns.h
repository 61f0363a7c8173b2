// The table that filter tests, fuzz targets and benchmarks compile and
// evaluate against: the catalogue's five columns, then one of every other
// type the filter format knows.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "pellory/engine.h"

namespace pellory::testkit {

struct FilterColumn {
  const char* name;
  std::uint16_t type;  // PEL_TYPE_*
  std::uint16_t units1;
  std::uint16_t units2;  // decimals of a BCD column
  std::uint16_t valueSize;
};

inline const std::vector<FilterColumn>& FilterColumns() {
  static const std::vector<FilterColumn> columns = {
      {"Font Name", PEL_TYPE_CHARACTER, 45, 0, 46},
      {"Filename", PEL_TYPE_CHARACTER, 13, 0, 14},
      {"Category", PEL_TYPE_CHARACTER, 55, 0, 56},
      {"Description", PEL_TYPE_BLOB, 10, 0, 4},
      {"Sample3", PEL_TYPE_BLOB, 10, 0, 4},
      {"Count", PEL_TYPE_SHORT, 0, 0, 2},
      {"Total", PEL_TYPE_INTEGER, 0, 0, 4},
      {"Price", PEL_TYPE_FLOAT, 0, 0, 8},
      {"Amount", PEL_TYPE_BCD, 32, 2, 18},
      {"Born", PEL_TYPE_DATE, 0, 0, 4},
      {"At", PEL_TYPE_TIME, 0, 0, 4},
      {"Stamp", PEL_TYPE_TIMESTAMP, 0, 0, 8},
      {"Flag", PEL_TYPE_BOOLEAN, 0, 0, 2},
      {"Code", PEL_TYPE_WORD, 0, 0, 2},
      {"Raw", PEL_TYPE_BYTES, 4, 0, 4},
      {"Fine", PEL_TYPE_BCD, 32, 4, 18},
  };
  return columns;
}

// The same columns as the engine describes them, numbered from 1.
inline std::vector<pel_field_descriptor> FilterDescriptors() {
  std::vector<pel_field_descriptor> out;
  for (const FilterColumn& c : FilterColumns()) {
    pel_field_descriptor d{};
    d.number = static_cast<std::uint16_t>(out.size() + 1);
    std::strncpy(d.name, c.name, sizeof d.name - 1);
    d.logical_type = c.type;
    d.units1 = c.units1;
    d.units2 = c.units2;
    d.value_size = c.valueSize;
    out.push_back(d);
  }
  return out;
}

}  // namespace pellory::testkit
