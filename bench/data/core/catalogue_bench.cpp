// TTable over a 100,000-record encrypted catalogue table through the real
// engine library: First / step / Last, and a walk over every record.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "bench_table.h"
#include "pellory/data/datasource.h"
#include "pellory/data/field.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"

namespace pellory::data {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kRecords = 100000;

// One table written once for the whole run, removed at exit.
struct CatalogueFile {
  CatalogueFile() {
    dir = fs::temp_directory_path() / ("pellory-data-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    bench::WriteCatalogueTable(dir.string(), "pelloryfont", bench::MakeCatalogueRows(kRecords, 50));
  }
  ~CatalogueFile() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
  fs::path dir;
};

const CatalogueFile& File() {
  static CatalogueFile file;
  return file;
}

struct OpenCatalogue {
  OpenCatalogue() {
    session.AddPassword(bench::kBenchPassword);
    table.SetName("Table1");
    table.SetDatabaseName(File().dir.string());
    table.SetTableName("pelloryfont.DB");
    table.SetReadOnly(true);
    table.AddField(std::make_unique<TStringField>("Font Name", 45));
    source.SetDataSet(&table);
    table.Open();
  }
  ~OpenCatalogue() {
    table.Close();
    session.Stop();
  }
  TSession session{"Default", true};
  TTable table{session};
  TDataSource source;
};

void BM_TableFirstStepLast(benchmark::State& state) {
  OpenCatalogue c;
  for (auto _ : state) {
    c.table.First();
    c.table.Next();
    c.table.Last();
    benchmark::DoNotOptimize(c.table.RecNo());
  }
}
BENCHMARK(BM_TableFirstStepLast);

void BM_TableWalkAll(benchmark::State& state) {
  OpenCatalogue c;
  TField& name = c.table.FieldByName("Font Name");
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (c.table.First(); !c.table.Eof(); c.table.Next()) bytes += name.AsString().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_TableWalkAll)->Unit(benchmark::kMillisecond);

// A category click (filter off, new text, filter on) whose only matches are
// the last 50 records: the cost is the engine's filtered scan to them.
void BM_CategoryClickMatchesAtTheEnd(benchmark::State& state) {
  OpenCatalogue c;
  c.table.AddField(std::make_unique<TStringField>("Category", 55));
  c.table.Close();
  c.table.Open();
  bool wide = false;
  for (auto _ : state) {
    c.table.SetFiltered(false);
    // Alternating texts so that every click compiles and registers anew.
    c.table.SetFilter(wide ? "Category ='Wing*'" : "Category ='Wingdings*'");
    c.table.SetFiltered(true);
    wide = !wide;
    benchmark::DoNotOptimize(c.table.RecNo());
  }
  if (c.table.FieldByName("Category").AsString().rfind("Wing", 0) != 0 ||
      c.table.RecNo() <= static_cast<long>(kRecords - 50))
    state.SkipWithError("the click did not land on the first Wingdings record");
}
BENCHMARK(BM_CategoryClickMatchesAtTheEnd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellory::data

BENCHMARK_MAIN();
