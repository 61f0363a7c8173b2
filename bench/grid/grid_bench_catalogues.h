// The catalogues the grid window is measured on, each with an engine
// configuration naming it as the alias "pellory": the machine's catalogue
// beside the build, and synthetic ones of a given size.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pellory::bench {

struct GridCatalogue {
  std::string name;                    // "sample", "synthetic-150", ...
  std::filesystem::path engineConfig;  // for PELLORY_ENGINE_CONFIG
};

// Builds what is missing into `scratch`: the synthetic catalogues of each
// size in `sizes`. The machine's catalogue comes first when the build has
// one (BUILD/../data/catalogue).
std::vector<GridCatalogue> PrepareCatalogues(const std::filesystem::path& scratch,
                                             const std::vector<int>& sizes);

}  // namespace pellory::bench
