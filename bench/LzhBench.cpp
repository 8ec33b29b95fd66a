// LZH expansion throughput: the library's expander against the plain byte-at-a-time one
// (one read call per input byte, one write call per output byte), on 4 MiB of mixed data
// and on a skin-sized archive. Prints the speed-up of each input at the end.
#include "SkinArchiveWriter.h"
#include "SkinLzh.h"
#include "SkinLzhEncoder.h"
#include "SkinLzhReference.h"
#include "SkinReader.h"
#include "SkinTestData.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

struct Input {
  Bytes data;   // the expanded bytes
  Bytes stream; // their LZH bit stream
};

const Input& Mixed() {
  static const Input input = [] {
    Input in;
    in.data = skintest::Mixed(std::size_t(4) << 20, 2024);
    in.stream = TLZHEncoder().Encode(in.data);
    return in;
  }();
  return input;
}

// About the size of a real skin: 36 images and a description, 229 500 bytes in all.
const Input& SkinLike() {
  static const Input input = [] {
    std::vector<TSkinArchiveEntry> entries;
    for (int i = 0; i < 36; ++i)
      entries.push_back({"image" + std::to_string(i) + ".bmp",
                         skintest::ImageLike(1200 + std::size_t(i % 9) * 1000, uint64_t(i))});
    std::size_t size = 16 + 69;
    for (const auto& e : entries)
      size += e.Name.size() + 2 + 4 + e.Data.size();
    const std::string ini = skintest::TextLike(229500 - size - 12 - 4, 77);
    entries.push_back({"skin.ini", Bytes(ini.begin(), ini.end())});
    Input in;
    in.data = BuildSkinArchive(entries);
    in.stream = TLZHEncoder().Encode(in.data);
    return in;
  }();
  return input;
}

void ExpandFast(benchmark::State& state, const Input& (*get)()) {
  const Input& in = get();
  TLZH lzh;
  Bytes out;
  for (auto _ : state) {
    lzh.Expand(int32_t(in.data.size()), in.stream, out);
    benchmark::DoNotOptimize(out.data());
  }
  if (out != in.data) state.SkipWithError("expanded bytes differ");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.data.size()));
}

void ExpandReference(benchmark::State& state, const Input& (*get)()) {
  const Input& in = get();
  Bytes out;
  for (auto _ : state) {
    out.clear();
    out.reserve(in.data.size() + TLZH::F);
    std::size_t pos = 0;
    TLZHReference().Expand(
        int32_t(in.data.size()),
        [&](uint8_t* b) {
          if (pos >= in.stream.size()) return 0;
          *b = in.stream[pos++];
          return 1;
        },
        [&](uint8_t b) { out.push_back(b); });
    benchmark::DoNotOptimize(out.data());
  }
  if (out != in.data) state.SkipWithError("expanded bytes differ");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.data.size()));
}

// A whole skin load as the program does it: expand and parse.
void OpenSkinArchive(benchmark::State& state) {
  const Input& in = SkinLike();
  Bytes stored = {uint8_t(in.data.size()), uint8_t(in.data.size() >> 8),
                  uint8_t(in.data.size() >> 16), uint8_t(in.data.size() >> 24)};
  stored.insert(stored.end(), in.stream.begin(), in.stream.end());
  for (auto _ : state) {
    TSkinReader reader;
    if (!reader.OpenArchive(stored)) state.SkipWithError("archive does not open");
    benchmark::DoNotOptimize(reader.EntryCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.data.size()));
}

BENCHMARK_CAPTURE(ExpandFast, mixed_4MiB, &Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExpandReference, mixed_4MiB, &Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExpandFast, skin_229500, &SkinLike)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExpandReference, skin_229500, &SkinLike)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenSkinArchive)->Unit(benchmark::kMicrosecond);

// Console output as usual, and the mean CPU time per iteration of each benchmark kept aside.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      Sum& s = times_[run.benchmark_name()];
      s.total += run.GetAdjustedCPUTime();
      ++s.count;
    }
  }
  double Mean(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second.total / it->second.count;
  }

private:
  struct Sum {
    double total = 0;
    int count = 0;
  };
  std::map<std::string, Sum> times_;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* input : {"mixed_4MiB", "skin_229500"}) {
    const double fast = reporter.Mean(std::string("ExpandFast/") + input);
    const double ref = reporter.Mean(std::string("ExpandReference/") + input);
    if (fast > 0 && ref > 0)
      std::printf("%s: library expander %.2fx the speed of the byte-at-a-time one\n", input,
                  ref / fast);
  }
  benchmark::Shutdown();
  return 0;
}
