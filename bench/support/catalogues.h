// The catalogues the process benchmarks read: the machine's own, and
// pellory-mkcatalogue's synthetic ones, kept between runs beside the build
// (BUILD/bench-data); and the engine configurations that name them.
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

// The catalogue of this machine's fonts: the one `make run` builds beside
// the build (BUILD/../data/catalogue), else one built into BUILD/bench-data.
std::filesystem::path MachineCatalogue();

// Writes `file`: the engine library beside the benchmark, the alias
// "pellory" at `catalogue`.
void WriteEngineConfig(const std::filesystem::path& file, const std::filesystem::path& catalogue);

}  // namespace pellory::bench
