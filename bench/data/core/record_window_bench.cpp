// The record window's own cost over 100,000 in-memory records: First, a
// step, Last, a full walk, and a category click whose matches are at the end.
#include <benchmark/benchmark.h>

#include "memory_dataset.h"
#include "pellory/data/datasource.h"
#include "recording_link.h"

namespace pellory::data::testing {
namespace {

constexpr int kRecords = 100000;

struct Catalogue {
  explicit Catalogue(int linkBuffers) : table(kRecords), link("view", log) {
    table.logCalls = false;
    table.records.back() = "record Wingdings";
    source.SetDataSet(&table);
    link.SetBufferCount(linkBuffers);
    link.SetDataSource(&source);
    table.Open();
  }
  MemoryDataSet table;
  TDataSource source;
  EventLog log;
  RecordingLink link;
};

void BM_FirstStepLast(benchmark::State& state) {
  Catalogue c(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    c.table.First();
    c.table.Next();
    c.table.Last();
    c.log.clear();
  }
}
BENCHMARK(BM_FirstStepLast)->Arg(1)->Arg(30);

void BM_WalkAll(benchmark::State& state) {
  Catalogue c(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    c.table.First();
    while (!c.table.Eof()) {
      c.table.Next();
      c.log.clear();
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_WalkAll)->Arg(1)->Arg(30);

void BM_CategoryClickMatchesAtTheEnd(benchmark::State& state) {
  Catalogue c(1);
  for (auto _ : state) {
    c.table.SetFiltered(false);
    c.table.SetFilter(state.iterations() % 2 == 0 ? "Wing" : "Wingdings");
    c.table.SetFiltered(true);
    c.log.clear();
    c.table.calls.clear();
  }
}
BENCHMARK(BM_CategoryClickMatchesAtTheEnd);

}  // namespace
}  // namespace pellory::data::testing

BENCHMARK_MAIN();
