#include "bench_catalogues.h"

#include <fstream>
#include <stdexcept>

#include "probe_process.h"

namespace pellory::bench {

namespace fs = std::filesystem;

fs::path OwnDirectory() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

fs::path CatalogueBesideBuild(const fs::path& binDir) {
  const fs::path catalogue = binDir.parent_path().parent_path() / "data" / "catalogue";
  std::error_code ignored;
  return fs::is_regular_file(catalogue / "pelloryfont.DB", ignored) ? catalogue : fs::path();
}

void BuildCatalogue(const fs::path& binDir, std::vector<std::string> options, const fs::path& out) {
  std::vector<std::string> command{(binDir / "pellory-mkcatalogue").string(), "--quiet"};
  command.insert(command.end(), options.begin(), options.end());
  command.push_back(out.string());
  RunToCompletion(command);
}

void WriteEngineConfig(const fs::path& file, const fs::path& binDir, const fs::path& catalogue) {
  std::ofstream config(file);
  config << "[engine]\nlibrary_dir = " << binDir.string()
         << "\n[alias pellory]\npath = " << catalogue.string() << "\n";
  if (!config.flush()) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace pellory::bench
