// A catalogue-shaped Paradox table for the benchmarks, made by the table
// writer: columns Font Name A45, Description memo (its text in the .MB),
// Filename A13, Category A55, Sample3 graphic (blank); encrypted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellory::bench {

struct CatalogueRow {
  std::string fontName, description, fileName, category;
};

inline constexpr const char* kBenchPassword = "bench-pass";

// rows: `count` fonts whose categories cycle through the usual ones, except
// the last `wingTail` rows, which alone are in "Wingdings and symbols".
std::vector<CatalogueRow> MakeCatalogueRows(std::uint32_t count, std::uint32_t wingTail);

// Writes NAME.DB and NAME.MB into directory.
void WriteCatalogueTable(const std::string& directory, const std::string& name,
                         const std::vector<CatalogueRow>& rows);

// The catalogue's Category column, and the filter buffer (binary format
// version 2) the program's compiler makes of "Category ='TEXT'", or of
// "Category ='TEXT*'" (a prefix comparison) when `prefix` is set.
inline constexpr std::uint16_t kCategoryField = 4;
std::vector<std::uint8_t> CategoryFilter(const std::string& text, bool prefix);

}  // namespace pellory::bench
