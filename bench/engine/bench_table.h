// A catalogue-shaped Paradox table for the benchmarks, written with the
// least code that makes one: columns Font Name A45, Description memo,
// Filename A13, Category A55, Sample3 graphic; encrypted. Descriptions fit
// in the memo's leader and pictures are blank, so the .MB holds only its
// header block.
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

}  // namespace pellory::bench
