#include "grid_bench_catalogues.h"

#include <QProcess>
#include <QStringList>
#include <fstream>
#include <stdexcept>

namespace pellory::bench {

namespace fs = std::filesystem;

namespace {

fs::path OwnDirectory() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

fs::path WriteConfig(const fs::path& dir, const fs::path& catalogue) {
  const fs::path file = dir / (catalogue.filename().string() + ".conf");
  std::ofstream config(file);
  config << "[engine]\nlibrary_dir = " << OwnDirectory().string()
         << "\n[alias pellory]\npath = " << catalogue.string() << "\n";
  if (!config.flush()) throw std::runtime_error("cannot write " + file.string());
  return file;
}

void BuildSynthetic(int records, const fs::path& out) {
  const QString tool = QString::fromStdString((OwnDirectory() / "pellory-mkcatalogue").string());
  const int status =
      QProcess::execute(tool, {QStringLiteral("--quiet"), QStringLiteral("--synthetic"),
                               QString::number(records), QString::fromStdString(out.string())});
  if (status != 0) throw std::runtime_error("pellory-mkcatalogue --synthetic failed");
}

}  // namespace

std::vector<GridCatalogue> PrepareCatalogues(const fs::path& scratch,
                                             const std::vector<int>& sizes) {
  std::vector<GridCatalogue> catalogues;
  const fs::path machine = OwnDirectory().parent_path().parent_path() / "data" / "catalogue";
  std::error_code ignored;
  if (fs::is_regular_file(machine / "pelloryfont.DB", ignored))
    catalogues.push_back({"sample", WriteConfig(scratch, machine)});
  for (int size : sizes) {
    const fs::path dir = scratch / ("synthetic-" + std::to_string(size));
    BuildSynthetic(size, dir);
    catalogues.push_back({dir.filename().string(), WriteConfig(scratch, dir)});
  }
  return catalogues;
}

}  // namespace pellory::bench
