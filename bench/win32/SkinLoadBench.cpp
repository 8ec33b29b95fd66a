// Cost of loading the default skin (expanding the stored skin, reading the archive and its
// description, building every element with its images and the derived elements) against the
// expansion of the stored skin alone.
//
// BM_SkinExpand is the LZH expansion on its own, into a buffer kept between runs. BM_SkinLoad
// times the full load as the skin data component does it again and again (start, every change
// of the skin file, every Active switch): through one archive reader, whose buffer serves the
// next load. Beside every load it also times one expansion (outside the timed part, in
// alternating order), so that the reported "ratio" (load / expansion) compares the two under
// the same conditions of the same run; "expand_ms" is the expansion's mean there.
// BM_SkinLoadFirst is the same with a new reader for every load, as the first load of a
// program is.
#include "SkinElements.h"
#include "SkinLzh.h"
#include "SkinReader.h"

#include "FormReader.h"

#include "BenchClock.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

namespace {

const std::vector<std::uint8_t>& StoredSkin() {
  static const std::vector<std::uint8_t> stored = LoadResourceBytes("DEFAULT_SKIN");
  return stored;
}

// The expansion the load starts with: the 32-bit expanded size, then the LZH stream.
std::size_t Expand(std::vector<std::uint8_t>& out) {
  const std::vector<std::uint8_t>& stored = StoredSkin();
  std::int32_t size = 0;
  std::memcpy(&size, stored.data(), 4);
  TLZH().Expand(size, std::span<const std::uint8_t>(stored).subspan(4), out);
  return out.size();
}

void BM_SkinExpand(benchmark::State& state) {
  std::vector<std::uint8_t> out;
  for (auto _ : state)
    benchmark::DoNotOptimize(Expand(out));
}

void SkinLoad(benchmark::State& state, bool keepReader) {
  TSkinContent content;
  TSkinReader kept;
  std::vector<std::uint8_t> out;
  LONGLONG load = 0, expand = 0;
  bool loadFirst = true;
  for (auto _ : state) {
    state.PauseTiming();
    LONGLONG e0 = 0, e1 = 0;
    if (!loadFirst) {
      e0 = Now();
      benchmark::DoNotOptimize(Expand(out));
      e1 = Now();
    }
    state.ResumeTiming();
    const LONGLONG t0 = Now();
    // A new reader lives inside the load, its buffer freed before the load returns.
    const bool ok = keepReader ? LoadSkinContent(StoredSkin(), content, kept)
                               : LoadSkinContent(StoredSkin(), content);
    const LONGLONG t1 = Now();
    state.PauseTiming();
    if (loadFirst) {
      e0 = Now();
      benchmark::DoNotOptimize(Expand(out));
      e1 = Now();
    }
    state.ResumeTiming();
    if (!ok || !content.ComboxArrow) {
      state.SkipWithError("the default skin did not load");
      return;
    }
    state.SetIterationTime(Seconds(t1 - t0));
    load += t1 - t0;
    expand += e1 - e0;
    loadFirst = !loadFirst;
  }
  if (state.iterations() > 0 && expand > 0) {
    state.counters["ratio"] = static_cast<double>(load) / static_cast<double>(expand);
    state.counters["expand_ms"] = Seconds(expand) * 1e3 / static_cast<double>(state.iterations());
  }
}

void BM_SkinLoad(benchmark::State& state) {
  SkinLoad(state, true);
}

void BM_SkinLoadFirst(benchmark::State& state) {
  SkinLoad(state, false);
}

BENCHMARK(BM_SkinExpand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkinLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkinLoadFirst)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (StoredSkin().size() < 4) {
    std::fprintf(stderr, "skinload_bench: no DEFAULT_SKIN resource\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
