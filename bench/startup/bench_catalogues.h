// The catalogues the start-up is measured on, each with an engine
// configuration naming it as the alias the program opens.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pellory::bench {

struct BenchCatalogue {
  std::string name;                    // "sample" or "synthetic"
  std::filesystem::path directory;     // holding pelloryfont.DB
  std::filesystem::path engineConfig;  // for PELLORY_ENGINE_CONFIG
};

// Where the benchmark and its helpers live: the build's bin directory.
std::filesystem::path OwnDirectory();

// The machine's catalogue that scripts/ensure-catalogue.sh builds beside the
// build directory (BUILD/../data/catalogue), or empty when there is none.
std::filesystem::path CatalogueBesideBuild(const std::filesystem::path& binDir);

// Builds a catalogue with pellory-mkcatalogue `options` into `out`.
void BuildCatalogue(const std::filesystem::path& binDir, std::vector<std::string> options,
                    const std::filesystem::path& out);

// Writes `file`: the engine library in `binDir`, alias "pellory" at
// `catalogue`.
void WriteEngineConfig(const std::filesystem::path& file, const std::filesystem::path& binDir,
                       const std::filesystem::path& catalogue);

}  // namespace pellory::bench
