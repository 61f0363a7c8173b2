#include "catalogues.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "timed_process.h"

namespace pellory::bench {
namespace {

namespace fs = std::filesystem;

bool NewerThan(const fs::path& made, const fs::path& maker) {
  std::error_code ec;
  const auto madeTime = fs::last_write_time(made, ec);
  return !ec && madeTime >= fs::last_write_time(maker, ec) && !ec;
}

}  // namespace

fs::path BinDirectory() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

fs::path SyntheticCatalogue(std::uint32_t records, CategoryLayout layout) {
  const fs::path maker = BinDirectory() / "pellory-mkcatalogue";
  const bool tail = layout == CategoryLayout::WingdingsLast;
  const fs::path dir = BinDirectory().parent_path() / "bench-data" /
                       ("synthetic-" + std::to_string(records) + (tail ? "-wingdings-last" : ""));
  if (NewerThan(dir / "pelloryfont.DB", maker)) return dir;
  std::vector<std::string> command = {maker.string(), "--quiet", "--synthetic",
                                      std::to_string(records)};
  if (tail) {
    // One cycle as long as the table: its weights lie in the order given.
    if (records < 20) throw std::runtime_error("too few records to put Wingdings last");
    command.push_back("--category-mix");
    command.push_back(
        "Capitals Serif=1,Capitals Sans Serif=1,Italic Serif=1,Italic Sans Serif=1,"
        "Normal Serif=1,Normal Sans Serif=" +
        std::to_string(records - 15) + ",Wingdings=10");
  }
  command.push_back(dir.string());
  RunTimed(command);
  return dir;
}

fs::path MachineCatalogue() {
  const fs::path beside = BinDirectory().parent_path().parent_path() / "data" / "catalogue";
  std::error_code ignored;
  if (fs::is_regular_file(beside / "pelloryfont.DB", ignored)) return beside;
  const fs::path maker = BinDirectory() / "pellory-mkcatalogue";
  const fs::path dir = BinDirectory().parent_path() / "bench-data" / "machine";
  if (NewerThan(dir / "pelloryfont.DB", maker)) return dir;
  RunTimed({maker.string(), "--quiet", dir.string()});
  return dir;
}

void WriteEngineConfig(const fs::path& file, const fs::path& catalogue) {
  std::ofstream config(file);
  config << "[engine]\nlibrary_dir = " << BinDirectory().string()
         << "\n[alias pellory]\npath = " << catalogue.string() << "\n";
  if (!config.flush()) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace pellory::bench
