// The engine on a 100,000-record catalogue-shaped, encrypted table: a full
// scan, and a filtered scan for the category whose only matches are the last
// records, beside SQLite counting the same rows with LIKE 'Wing%' in memory.
// The filtered scan runs again and again on one cursor (warm): the report
// ends with its ratio to SQLite's count.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "bench_goals.h"
#include "bench_table.h"
#include "pellory/engine.h"

namespace {

namespace fs = std::filesystem;
using pellory::bench::CatalogueRow;

constexpr std::uint32_t kRows = 100000;
constexpr std::uint32_t kWingRows = 100;
using pellory::bench::kCategoryField;

struct Fixture {
  fs::path dir;
  std::vector<CatalogueRow> rows;
  pel_database* database = nullptr;
  pel_cursor* cursor = nullptr;
  pel_cursor_info info{};

  Fixture() {
    dir = fs::temp_directory_path() / ("pellory-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    rows = pellory::bench::MakeCatalogueRows(kRows, kWingRows);
    pellory::bench::WriteCatalogueTable(dir.string(), "catalogue", rows);
    pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
    pel_engine_init(&options);
    pel_password_add(pellory::bench::kBenchPassword);
    const std::string name = dir.string() + "/";
    if (pel_database_open(name.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                          &database) != PEL_OK)
      throw std::runtime_error("cannot open the bench directory");
    pel_table_request request{};
    request.table_name = "catalogue.DB";
    if (pel_table_open(database, &request, &cursor) != PEL_OK)
      throw std::runtime_error("cannot open the bench table");
    pel_cursor_properties(cursor, &info);
  }
  ~Fixture() {
    pel_engine_exit();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

Fixture& Table() {
  static Fixture fixture;
  return fixture;
}

void BM_EngineFullScan(benchmark::State& state) {
  Fixture& t = Table();
  std::vector<std::uint8_t> record(t.info.record_size), value(64);
  for (auto _ : state) {
    pel_cursor_to_start(t.cursor);
    std::uint32_t count = 0;
    int blank = 0;
    while (pel_cursor_next(t.cursor, record.data()) == PEL_OK) {
      pel_field_get(t.cursor, 1, record.data(), value.data(), value.size(), &blank);
      pel_field_get(t.cursor, kCategoryField, record.data(), value.data(), value.size(), &blank);
      ++count;
    }
    if (count != kRows) state.SkipWithError("wrong record count");
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_EngineFullScan)->Unit(benchmark::kMillisecond);

// A first scan after opening: every block read from the file and decrypted.
void BM_EngineColdScan(benchmark::State& state) {
  Fixture& t = Table();
  std::vector<std::uint8_t> record(t.info.record_size);
  for (auto _ : state) {
    pel_table_request request{};
    request.table_name = "catalogue.DB";
    pel_cursor* cursor = nullptr;
    if (pel_table_open(t.database, &request, &cursor) != PEL_OK) {
      state.SkipWithError("cannot open the bench table");
      return;
    }
    std::uint32_t count = 0;
    while (pel_cursor_next(cursor, record.data()) == PEL_OK) ++count;
    pel_cursor_close(cursor);
    if (count != kRows) state.SkipWithError("wrong record count");
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_EngineColdScan)->Unit(benchmark::kMillisecond);

// The open cases use a copy of the table that no other cursor holds, so each
// iteration starts as the program does: with no walk of the file in use.
constexpr const char* kOpenedCopy = "opened.DB";

pel_cursor* OpenCopy(pel_database* database) {
  pel_table_request request{};
  request.table_name = kOpenedCopy;
  pel_cursor* cursor = nullptr;
  return pel_table_open(database, &request, &cursor) == PEL_OK ? cursor : nullptr;
}

Fixture& OpenFixture() {
  Fixture& t = Table();
  static const bool copied = [&] {
    fs::copy_file(t.dir / "catalogue.DB", t.dir / kOpenedCopy, fs::copy_options::skip_existing);
    fs::copy_file(t.dir / "catalogue.MB", t.dir / "opened.MB", fs::copy_options::skip_existing);
    return true;
  }();
  benchmark::DoNotOptimize(copied);
  return t;
}

// One open: the header and the walk of the whole block chain.
void BM_EngineOpen(benchmark::State& state) {
  Fixture& t = OpenFixture();
  for (auto _ : state) {
    pel_cursor* cursor = OpenCopy(t.database);
    std::uint32_t count = 0;
    if (!cursor || pel_cursor_count(cursor, &count) != PEL_OK || count != kRows) {
      state.SkipWithError("cannot open the bench table");
      return;
    }
    pel_cursor_close(cursor);
  }
}
BENCHMARK(BM_EngineOpen)->Unit(benchmark::kMillisecond);

// Opening the table as the main window does: twice, the first cursor still
// open when the second opens.
void BM_EngineOpenTwice(benchmark::State& state) {
  Fixture& t = OpenFixture();
  for (auto _ : state) {
    pel_cursor* first = OpenCopy(t.database);
    pel_cursor* second = first ? OpenCopy(t.database) : nullptr;
    std::uint32_t count = 0;
    if (!second || pel_cursor_count(second, &count) != PEL_OK || count != kRows) {
      state.SkipWithError("cannot open the bench table");
      return;
    }
    pel_cursor_close(second);
    pel_cursor_close(first);
  }
}
BENCHMARK(BM_EngineOpenTwice)->Unit(benchmark::kMillisecond);

// The first filtered scan of a freshly opened table, as a category click
// after start-up makes it: nothing collected yet, every block read.
void BM_EngineFirstFilteredScan(benchmark::State& state) {
  Fixture& t = OpenFixture();
  const auto expression = pellory::bench::CategoryFilter("Wing", true);
  for (auto _ : state) {
    pel_cursor* cursor = OpenCopy(t.database);
    pel_filter* filter = nullptr;
    std::uint32_t count = 0;
    if (!cursor ||
        pel_filter_add(cursor, expression.data(), expression.size(), &filter) != PEL_OK ||
        pel_filter_activate(cursor, filter) != PEL_OK ||
        pel_cursor_count_exact(cursor, &count) != PEL_OK || count != kWingRows) {
      state.SkipWithError("cannot scan the bench table");
      return;
    }
    pel_cursor_close(cursor);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_EngineFirstFilteredScan)->Unit(benchmark::kMillisecond);

void BM_EngineFilteredScan(benchmark::State& state) {
  Fixture& t = Table();
  const auto expression = pellory::bench::CategoryFilter("Wing", true);
  pel_filter* filter = nullptr;
  const pel_result added = pel_filter_add(t.cursor, expression.data(), expression.size(), &filter);
  if (added != PEL_OK) {
    state.SkipWithError("the engine refused the filter (built without filter evaluation?)");
    return;
  }
  pel_filter_activate(t.cursor, filter);
  std::vector<std::uint8_t> record(t.info.record_size);
  for (auto _ : state) {
    pel_cursor_to_start(t.cursor);
    std::uint32_t count = 0;
    while (pel_cursor_next(t.cursor, record.data()) == PEL_OK) ++count;
    if (count != kWingRows) state.SkipWithError("wrong match count");
    benchmark::DoNotOptimize(count);
  }
  pel_filter_drop(t.cursor, filter);
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_EngineFilteredScan)->Unit(benchmark::kMillisecond);

// The same question asked by reading every Category through the interface:
// what a filtered scan costs at most when the engine evaluates nothing.
void BM_EngineScanComparingCategory(benchmark::State& state) {
  Fixture& t = Table();
  std::vector<std::uint8_t> record(t.info.record_size), value(64);
  for (auto _ : state) {
    pel_cursor_to_start(t.cursor);
    std::uint32_t count = 0;
    int blank = 0;
    while (pel_cursor_next(t.cursor, record.data()) == PEL_OK) {
      pel_field_get(t.cursor, kCategoryField, record.data(), value.data(), value.size(), &blank);
      if (std::memcmp(value.data(), "Wing", 4) == 0) ++count;
    }
    if (count != kWingRows) state.SkipWithError("wrong match count");
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_EngineScanComparingCategory)->Unit(benchmark::kMillisecond);

void BM_SqliteLikeCount(benchmark::State& state) {
  Fixture& t = Table();
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db,
               "CREATE TABLE catalogue(\"Font Name\" TEXT, Description TEXT, Filename TEXT, "
               "Category TEXT, Sample3 BLOB); BEGIN;",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO catalogue VALUES(?,?,?,?,NULL)", -1, &insert, nullptr);
  for (const auto& row : t.rows) {
    sqlite3_bind_text(insert, 1, row.fontName.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, row.description.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 3, row.fileName.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 4, row.category.c_str(), -1, SQLITE_STATIC);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM catalogue WHERE Category LIKE 'Wing%'", -1, &query,
                     nullptr);
  for (auto _ : state) {
    sqlite3_step(query);
    const int count = sqlite3_column_int(query, 0);
    sqlite3_reset(query);
    if (count != static_cast<int>(kWingRows)) state.SkipWithError("wrong match count");
    benchmark::DoNotOptimize(count);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SqliteLikeCount)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the goal lines.
class GoalReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs)
      if (!run.error_occurred) milliseconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  double Of(const std::string& name) const {
    const auto found = milliseconds_.find(name);
    return found == milliseconds_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> milliseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  GoalReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double scan = reporter.Of("BM_EngineFilteredScan");
  const double sqlite = reporter.Of("BM_SqliteLikeCount");
  if (scan > 0 && sqlite > 0)
    pellory::bench::ReportGoal("warm filtered scan of 100,000 records: engine / SQLite in memory",
                               scan / sqlite, 0.6, "");
  benchmark::Shutdown();
  return 0;
}
