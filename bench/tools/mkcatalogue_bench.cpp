// pellory-mkcatalogue's work measured: whole synthetic catalogues (the
// goal: 200,000 records in seconds), the catalogue of the machine's fonts,
// one font's category facts and its sample picture.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "bmp_image.h"
#include "catalogue_build.h"
#include "sample_picture.h"
#include "scratch_dir.h"
#include "shape_measures.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;

void BM_SyntheticCatalogue(benchmark::State& state) {
  testkit::ScratchDir scratch("pellory-bench");
  const std::string count = std::to_string(state.range(0));
  const fs::path out = scratch.path() / "catalogue";
  for (auto _ : state) {
    std::ostringstream log;
    const int code =
        BuildCatalogue(ParseOptions({"--synthetic", count, "--quiet", out.string()}), log);
    if (code != kExitOk) return state.SkipWithError(log.str().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["DB_bytes"] = static_cast<double>(fs::file_size(out / "pelloryfont.DB"));
  state.counters["MB_bytes"] = static_cast<double>(fs::file_size(out / "pelloryfont.MB"));
}
BENCHMARK(BM_SyntheticCatalogue)->Arg(100'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

// Every face fontconfig lists: read, merged, measured, drawn and written.
void BM_MachineCatalogue(benchmark::State& state) {
  testkit::ScratchDir scratch("pellory-bench");
  const fs::path out = scratch.path() / "catalogue";
  for (auto _ : state) {
    std::ostringstream log;
    const int code = BuildCatalogue(ParseOptions({"--quiet", out.string()}), log);
    if (code != kExitOk) return state.SkipWithError(log.str().c_str());
  }
  state.counters["DB_bytes"] = static_cast<double>(fs::file_size(out / "pelloryfont.DB"));
}
BENCHMARK(BM_MachineCatalogue)->Unit(benchmark::kMillisecond)->Iterations(3);

// The measurements behind one face's category: letters, small capitals,
// serifs, joins and swashes.
void BM_ShapeFacts(benchmark::State& state) {
  const char* file = "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf";
  if (!fs::exists(file)) return state.SkipWithError("Z003 is not installed");
  FreeTypeLibrary library = OpenFreeType();
  std::string error;
  FontFace face = OpenFace(library.get(), file, 0, &error);
  if (!face) return state.SkipWithError(error.c_str());
  for (auto _ : state) benchmark::DoNotOptimize(ReadShapeFacts(face.get()).swashCapitals);
}
BENCHMARK(BM_ShapeFacts)->Unit(benchmark::kMicrosecond);

void BM_SamplePicture(benchmark::State& state) {
  const char* file = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
  if (!fs::exists(file)) return state.SkipWithError("DejaVu Serif is not installed");
  FreeTypeLibrary library = OpenFreeType();
  std::string error;
  FontFace face = OpenFace(library.get(), file, 0, &error);
  if (!face) return state.SkipWithError(error.c_str());
  const FaceCoverage coverage = ReadFaceCoverage(face.get(), "DejaVu Serif");
  for (auto _ : state) {
    const std::string picture = WithGraphicHeader(EncodeGreyBmp(
        DrawSample(face.get(), nullptr, "DejaVu Serif Book", SampleKind::Text, coverage)));
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(BM_SamplePicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pellory::mkcatalogue

BENCHMARK_MAIN();
