// Cost of loading a skin-sized description and of looking settings up in it, against a plain
// lookup that rescans the text for every question (the baseline, run in the same process).
#include "../fuzz/IniReference.h"
#include "WinSkinIni.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using TQuery = std::pair<std::string, std::string>;

struct TDescription {
  std::string Text;
  std::vector<TQuery> Hits;        // (section, key) present, integers and strings
  std::vector<TQuery> MissingKeys; // existing sections, keys they lack
  std::vector<TQuery> MissingSections;
  int Lines = 0;
};

// A deterministic description shaped like a skin's: 40 sections of 6 to 14 settings each,
// with comments, blank lines, mixed case and hexadecimal colours.
const TDescription& Description() {
  static const TDescription d = [] {
    TDescription d;
    std::uint32_t seed = 12345;
    auto next = [&seed] {
      seed = seed * 1103515245u + 12345u;
      return (seed >> 16) & 0x7FFF;
    };
    static const char* kKeys[] = {"Image",        "LeftWidth", "RightWidth", "TopHeight",
                                  "BottomHeight", "Trans",     "Tile",       "FrameCount",
                                  "NormalColor",  "OverColor", "DownColor",  "FontColor",
                                  "Alignment",    "Style"};
    d.Text += "; skin description\r\n[Personality]\r\nName=Bench\r\nAuthor=Tarnel\r\n\r\n";
    d.Lines = 5;
    for (int s = 0; s < 40; ++s) {
      const std::string section = "Element" + std::to_string(s);
      d.Text += "[" + section + "]\r\n";
      ++d.Lines;
      const int keys = 6 + static_cast<int>(next() % 9);
      for (int k = 0; k < keys; ++k) {
        std::string value;
        if (k == 0)
          value = section + ".bmp";
        else if (std::string(kKeys[k]).find("Color") != std::string::npos)
          value = "0x00" + std::to_string(100000 + next() % 800000);
        else
          value = std::to_string(next() % 64);
        d.Text += (k % 3 == 0 ? "  " : "") + std::string(kKeys[k]) + " = " + value + "\r\n";
        ++d.Lines;
        if (k % 4 == 1) {
          d.Text += "; " + std::string(kKeys[k]) + " of " + section + "\r\n";
          ++d.Lines;
        }
        if (k > 0 && next() % 3 == 0) d.Hits.emplace_back(section, kKeys[k]);
      }
      d.MissingKeys.emplace_back(section, "NoSuchKey");
      d.MissingSections.emplace_back("Missing" + std::to_string(s), "Image");
      d.Text += "\r\n";
      ++d.Lines;
    }
    return d;
  }();
  return d;
}

const TQuickIni& Loaded() {
  static const TQuickIni ini = [] {
    TQuickIni i;
    i.LoadFromStream(std::string_view(Description().Text));
    return i;
  }();
  return ini;
}

void Counters(benchmark::State& state, std::size_t lookupsPerIteration) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(lookupsPerIteration));
}

void BM_Load(benchmark::State& state) {
  const std::string& text = Description().Text;
  for (auto _ : state) {
    TQuickIni ini;
    ini.LoadFromStream(std::string_view(text));
    benchmark::DoNotOptimize(ini.Lines().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["lines"] = Description().Lines;
}

template <class Lookup>
void RunQueries(benchmark::State& state, const std::vector<TQuery>& queries, Lookup lookup) {
  for (auto _ : state)
    for (const auto& [section, key] : queries)
      benchmark::DoNotOptimize(lookup(section, key));
  Counters(state, queries.size());
}

void BM_ReadString_Hit(benchmark::State& state) {
  RunQueries(state, Description().Hits, [](const std::string& s, const std::string& k) {
    return Loaded().ReadString(s, k, "");
  });
}
void BM_ReadString_MissingKey(benchmark::State& state) {
  RunQueries(state, Description().MissingKeys, [](const std::string& s, const std::string& k) {
    return Loaded().ReadString(s, k, "");
  });
}
void BM_ReadString_MissingSection(benchmark::State& state) {
  RunQueries(state, Description().MissingSections, [](const std::string& s, const std::string& k) {
    return Loaded().ReadString(s, k, "");
  });
}
void BM_ReadInteger_Hit(benchmark::State& state) {
  RunQueries(state, Description().Hits, [](const std::string& s, const std::string& k) {
    return Loaded().ReadInteger(s, k, -1);
  });
}

// Baseline: the plain reader rescans the text for every lookup.
void BM_Baseline_ReadString_Hit(benchmark::State& state) {
  RunQueries(state, Description().Hits, [](const std::string& s, const std::string& k) {
    return IniReference::ReadString(Description().Text, s, k, "");
  });
}
void BM_Baseline_ReadString_MissingKey(benchmark::State& state) {
  RunQueries(state, Description().MissingKeys, [](const std::string& s, const std::string& k) {
    return IniReference::ReadString(Description().Text, s, k, "");
  });
}
void BM_Baseline_ReadString_MissingSection(benchmark::State& state) {
  RunQueries(state, Description().MissingSections, [](const std::string& s, const std::string& k) {
    return IniReference::ReadString(Description().Text, s, k, "");
  });
}

// A whole skin load: the text read once, then every setting asked for (hits and misses).
void BM_SkinLoad(benchmark::State& state) {
  const TDescription& d = Description();
  for (auto _ : state) {
    TQuickIni ini;
    ini.LoadFromStream(std::string_view(d.Text));
    for (const auto* list : {&d.Hits, &d.MissingKeys, &d.MissingSections})
      for (const auto& [section, key] : *list)
        benchmark::DoNotOptimize(ini.ReadString(section, key, ""));
  }
}
void BM_Baseline_SkinLoad(benchmark::State& state) {
  const TDescription& d = Description();
  for (auto _ : state)
    for (const auto* list : {&d.Hits, &d.MissingKeys, &d.MissingSections})
      for (const auto& [section, key] : *list)
        benchmark::DoNotOptimize(IniReference::ReadString(d.Text, section, key, ""));
}

} // namespace

BENCHMARK(BM_Load);
BENCHMARK(BM_ReadString_Hit);
BENCHMARK(BM_Baseline_ReadString_Hit);
BENCHMARK(BM_ReadString_MissingKey);
BENCHMARK(BM_Baseline_ReadString_MissingKey);
BENCHMARK(BM_ReadString_MissingSection);
BENCHMARK(BM_Baseline_ReadString_MissingSection);
BENCHMARK(BM_ReadInteger_Hit);
BENCHMARK(BM_SkinLoad);
BENCHMARK(BM_Baseline_SkinLoad);

BENCHMARK_MAIN();
