// The engine's memory over a sequence of category filters, as the main
// window applies them: the catalogue opened twice (the window's two
// cursors), then for each category button the old filter lifted, the first
// record read, the new filter added and applied and the first match read;
// the whole round twice, each also ending with a step to the last match.
// Each catalogue size runs in a fresh process; the report gives how much
// the resident memory grew from the opening to the end of the round, and
// the growth on 100,000 and 1,000,000 records beyond that on the machine's
// catalogue. The large ones have
// Wingdings only in their last records and no Handwriting, so that those
// buttons read the whole table.
//
//   bench_engine_memory [--records N]...
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "bench_table.h"
#include "catalogues.h"
#include "pellory/engine.h"
#include "timed_process.h"

namespace {

namespace fs = std::filesystem;
using namespace pellory::bench;

// The texts of the window's category buttons: a trailing '*' is a prefix.
const char* const kButtons[] = {"Capitals Serif", "Capitals San*", "Handwriting",
                                "Italic Serif",   "Italic Sans *", "Normal Serif",
                                "Normal Sans*",   "Wing*",         ""};

long ResidentKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  return 0;
}

void Check(pel_result result, const char* what) {
  if (result != PEL_OK) {
    std::fprintf(stderr, "%s failed with engine code %04X\n", what, result);
    std::exit(1);
  }
}

// The child: runs the sequence on one catalogue and prints
// "BEFORE_KIB AFTER_KIB PEAK_KIB".
int Child(const fs::path& catalogue) {
  pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
  Check(pel_engine_init(&options), "engine start");
  Check(pel_password_add(kCataloguePassword), "password");
  pel_database* database = nullptr;
  const std::string name = catalogue.string() + "/";
  Check(pel_database_open(name.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                          &database),
        "opening the directory");
  pel_table_request request{};
  request.table_name = "pelloryfont.DB";
  pel_cursor *table = nullptr, *second = nullptr;
  Check(pel_table_open(database, &request, &table), "opening the catalogue");
  Check(pel_table_open(database, &request, &second), "opening it again");
  pel_cursor_info info{};
  Check(pel_cursor_properties(table, &info), "properties");
  std::vector<std::uint8_t> record(info.record_size);
  auto first = [&] {
    pel_cursor_to_start(table);
    const pel_result r = pel_cursor_next(table, record.data());
    if (r != PEL_OK && r != PEL_AT_END) Check(r, "reading the first record");
  };
  first();
  pel_cursor_to_start(second);
  Check(pel_cursor_next(second, record.data()), "the second cursor's first record");
  malloc_trim(0);
  const long before = ResidentKiB("VmRSS:");

  pel_filter* filter = nullptr;
  for (int round = 0; round < 2; ++round)
    for (const char* button : kButtons) {
      if (filter) Check(pel_filter_deactivate(table, filter), "lifting the filter");
      first();
      if (filter) Check(pel_filter_drop(table, filter), "dropping the filter");
      filter = nullptr;
      std::string text = button;
      if (text.empty()) continue;  // "All fonts"
      const bool prefix = text.back() == '*';
      if (prefix) text.pop_back();
      const auto buffer = CategoryFilter(text, prefix);
      Check(pel_filter_add(table, buffer.data(), buffer.size(), &filter), "adding a filter");
      Check(pel_filter_activate(table, filter), "applying it");
      first();
      pel_cursor_to_end(table);
      const pel_result r = pel_cursor_prior(table, record.data());
      if (r != PEL_OK && r != PEL_AT_BEGINNING) Check(r, "the last match");
    }
  malloc_trim(0);
  std::printf("%ld %ld %ld\n", before, ResidentKiB("VmRSS:"), ResidentKiB("VmHWM:"));
  pel_engine_exit();
  return 0;
}

struct Growth {
  std::string name;
  double grownMB, peakMB;
};

Growth Measure(const std::string& name, const fs::path& catalogue) {
  const auto run =
      RunTimed({(BinDirectory() / "bench_engine_memory").string(), "--child", catalogue.string()});
  long before = 0, after = 0, peak = 0;
  if (std::sscanf(run.output.c_str(), "%ld %ld %ld", &before, &after, &peak) != 3)
    throw std::runtime_error("the child reported nothing for " + name);
  Growth g{name, (after - before) / 1024.0, (peak - before) / 1024.0};
  std::printf("  %-28s grew %7.2f MB, peak %7.2f MB above the opening (%.1f s)\n", name.c_str(),
              g.grownMB, g.peakMB, run.milliseconds / 1000);
  return g;
}

int Parent(const std::vector<std::uint32_t>& sizes) {
  std::printf("engine memory over two rounds of the nine category buttons\n");
  const Growth base = Measure("the machine's catalogue", MachineCatalogue());
  for (const std::uint32_t size : sizes) {
    const Growth g = Measure(std::to_string(size) + " synthetic records",
                             SyntheticCatalogue(size, CategoryLayout::WingdingsLast));
    ReportGoal("engine memory growth on " + std::to_string(size) +
                   " records beyond the machine's catalogue's",
               g.grownMB - base.grownMB, 5.0, "MB");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return Child(argv[2]);
    std::vector<std::uint32_t> sizes;
    for (int i = 1; i + 1 < argc; ++i)
      if (std::strcmp(argv[i], "--records") == 0)
        sizes.push_back(static_cast<std::uint32_t>(std::atol(argv[i + 1])));
    if (sizes.empty()) sizes = {100000, 1000000};
    return Parent(sizes);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_engine_memory: %s\n", error.what());
    return 1;
  }
}
