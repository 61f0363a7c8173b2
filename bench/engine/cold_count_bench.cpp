// A filtered count of a 100,000-record catalogue by a fresh process, as
// `catdump --count --filter "Category ='Wing*'"` does it through the engine,
// against the sqlite3 command counting the same rows with LIKE 'Wing%' in a
// file. Both files are in the page cache after the first runs: "cold" means
// a fresh process that opens the table and reads it, not a cold disk. The
// two commands take turns; the report gives both medians and their ratio.
//
//   bench_engine_cold [--runs N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bench_goals.h"
#include "catalogues.h"
#include "sqlite_copy.h"
#include "timed_process.h"

namespace {

using namespace pellory::bench;

constexpr std::uint32_t kRecords = 100000;

int Run(int runs) {
  const auto catalogue = SyntheticCatalogue(kRecords);
  const auto sqliteFile = SqliteCopy(catalogue);
  const std::vector<std::string> engine = {(BinDirectory() / "catdump").string(),
                                           "--password",
                                           kCataloguePassword,
                                           "--count",
                                           "--filter",
                                           "Category ='Wing*'",
                                           catalogue.string() + "/",
                                           "pelloryfont"};
  const std::vector<std::string> sqlite = {
      "sqlite3", sqliteFile.string(), "SELECT count(*) FROM catalogue WHERE Category LIKE 'Wing%'"};
  // A first run of each fills the page cache and checks that both count
  // the same rows.
  const std::string engineCount = RunTimed(engine).output;
  const std::string sqliteCount = RunTimed(sqlite).output;
  if (engineCount != sqliteCount) {
    std::fprintf(stderr, "the counts differ: catdump %s, sqlite3 %s\n", engineCount.c_str(),
                 sqliteCount.c_str());
    return 1;
  }
  std::vector<double> engineMs, sqliteMs;
  for (int i = 0; i < runs; ++i) {
    engineMs.push_back(RunTimed(engine).milliseconds);
    sqliteMs.push_back(RunTimed(sqlite).milliseconds);
  }
  const double e = Median(engineMs), s = Median(sqliteMs);
  std::printf("cold filtered count, %u records, %d runs each, %s matches\n", kRecords, runs,
              engineCount.substr(0, engineCount.find('\n')).c_str());
  std::printf("  catdump through the engine  %8.2f ms (median)\n", e);
  std::printf("  sqlite3 command             %8.2f ms (median)\n", s);
  ReportGoal("cold filtered count of 100,000 records: catdump / sqlite3 command", e / s, 1.0, "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 21;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  try {
    return Run(runs);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_engine_cold: %s\n", error.what());
    return 1;
  }
}
