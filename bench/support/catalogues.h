// The catalogues the engine's process benchmarks read: pellory-mkcatalogue's
// synthetic ones, kept between runs beside the build (BUILD/bench-data), and
// the same rows in an SQLite file for the comparison with the sqlite3
// command.
#pragma once

#include <cstdint>
#include <filesystem>

namespace pellory::bench {

inline constexpr const char* kCataloguePassword = "mirabo";

// The directory of the running benchmark, where the build puts every program.
std::filesystem::path BinDirectory();

// How the synthetic records' categories are laid out.
enum class CategoryLayout {
  // The eight categories in turn.
  Cycle,
  // A few records of five categories first, then Normal Sans Serif, and
  // Wingdings only in the last ten records; no Handwriting at all. A filter
  // on Wingdings reads the whole table for matches at its very end, one on
  // Handwriting for none.
  WingdingsLast,
};

// The directory holding pelloryfont.DB with `records` synthetic records,
// built when missing or older than pellory-mkcatalogue.
std::filesystem::path SyntheticCatalogue(std::uint32_t records,
                                         CategoryLayout layout = CategoryLayout::Cycle);

// An SQLite file beside the catalogue with its rows in one table
// "catalogue": the text columns and the description's text; the pictures
// are left out, so the SQLite file is the smaller one. Built when missing.
std::filesystem::path SqliteCopy(const std::filesystem::path& catalogue);

}  // namespace pellory::bench
