// Small text helpers shared by the data layer's sources.
#pragma once

#include <cctype>
#include <string>

namespace pellory::data {

// Names compare without regard to ASCII case, as the table's column names do.
inline bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace pellory::data
