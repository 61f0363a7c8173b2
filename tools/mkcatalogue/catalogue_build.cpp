#include "catalogue_build.h"

#include <stdexcept>

#include "catalogue_table.h"
#include "font_records.h"
#include "staging_dir.h"
#include "synthetic_records.h"

namespace pellory::mkcatalogue {
namespace {

constexpr char kTool[] = "pellory-mkcatalogue: ";

class Progress {
 public:
  Progress(std::ostream& log, bool quiet, std::uint32_t total, std::uint32_t step, const char* what)
      : log_(log), quiet_(quiet), total_(total), step_(step), what_(what) {}
  void Done(std::uint32_t n) {
    if (!quiet_ && (n % step_ == 0 || n == total_))
      log_ << kTool << n << " of " << total_ << ' ' << what_ << '\n';
  }

 private:
  std::ostream& log_;
  bool quiet_;
  std::uint32_t total_, step_;
  const char* what_;
};

void WriteSyntheticRecords(const std::filesystem::path& directory, const BuildOptions& options,
                           std::ostream& log) {
  const std::uint32_t count = *options.synthetic;
  const SyntheticRecords records(count, options.mix);
  CatalogueTable table(directory, options.password);
  Progress progress(log, options.quiet, count, 50000, "records written");
  for (std::uint32_t i = 0; i < count; ++i) {
    table.Append(records.Make(i));
    progress.Done(i + 1);
  }
  table.Finish();
}

}  // namespace

int BuildCatalogue(const BuildOptions& options, std::ostream& log, std::ostream& report) {
  try {
    const DirectoryLock lock(options.output);
    StagingDir staging(options.output);
    if (options.synthetic)
      WriteSyntheticRecords(staging.path(), options, log);
    else
      WriteFontRecords(staging.path(), options, log, report);
    staging.Commit();
    if (!options.quiet)
      log << kTool << "wrote " << (options.output / kTableName).string() << ".DB\n";
    return kExitOk;
  } catch (const NoFonts& e) {
    log << kTool << e.what() << '\n';
    return kExitNoFonts;
  } catch (const std::exception& e) {
    log << kTool << e.what() << '\n';
    return kExitFailed;
  }
}

int BuildCatalogue(const BuildOptions& options, std::ostream& log) {
  return BuildCatalogue(options, log, log);
}

}  // namespace pellory::mkcatalogue
