// Cost of one close-scan tick of the real main window against a bare loop of the same
// FindWindowA calls, for watch lists that match no window (so nothing is ever closed).
//
// BM_ScanTick times TForm_main::Timer1Timer; beside every tick it also times the bare loop, so
// the reported "ratio" (scan / bare, elapsed time) compares the two under the same conditions
// of the same run; "bare_us" is the bare loop's mean. Its CPU column is the scan's own (the
// bare loop runs with the timers paused). BM_FindWindowLoop is the bare loop on its own and
// BM_ListRowsRead the reading of the list rows that the scan adds to it.
#include "Unit_main.h"
#include "WatchList.h"
#include "WatchListFile.h"

#include "BenchClock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// Watch entries of both kinds, alternating title and class entries, that name no window.
std::vector<std::string> AbsentEntries(int n) {
  std::vector<std::string> entries;
  for (int i = 0; i < n; ++i)
    entries.push_back(i % 2 == 0 ? "TarnelBench absent window " + std::to_string(i)
                                 : "C|TarnelBenchAbsent" + std::to_string(i));
  return entries;
}

// The arguments FindWindowA gets for each entry, worked out once.
struct TLookup {
  std::string Class;
  std::string Title;
  bool ByClass = false;
};

std::vector<TLookup> LookupsOf(const std::vector<std::string>& entries) {
  std::vector<TLookup> lookups;
  for (const std::string& e : entries) {
    TLookup l;
    l.ByClass = WatchListFile::IsClassEntry(e);
    if (l.ByClass)
      l.Class = std::string(WatchListFile::ClassNameOf(e));
    else
      l.Title = e;
    lookups.push_back(std::move(l));
  }
  return lookups;
}

// Returns how many windows were found, so that the calls cannot be dropped.
int FindAll(const std::vector<TLookup>& lookups) {
  int found = 0;
  for (const TLookup& l : lookups) {
    HWND wnd =
        l.ByClass ? FindWindowA(l.Class.c_str(), nullptr) : FindWindowA(nullptr, l.Title.c_str());
    benchmark::DoNotOptimize(wnd);
    if (wnd) ++found;
  }
  return found;
}

void BM_FindWindowLoop(benchmark::State& state) {
  const auto lookups = LookupsOf(AbsentEntries(static_cast<int>(state.range(0))));
  int found = 0;
  for (auto _ : state)
    found += FindAll(lookups);
  if (found) state.SkipWithError("a watch entry of the benchmark matched a window");
}

// Puts the entries in the main window's list; false (and the benchmark skipped) when it failed.
bool FillList(benchmark::State& state, const std::vector<std::string>& entries) {
  Form_main->ListBox1->SetItems(entries);
  if (Form_main->ListBox1->Items() == entries) return true;
  state.SkipWithError("the list box did not take the watch entries");
  return false;
}

// Reading the rows back, as the scan does on every tick: the part of its cost that is not lookup.
void BM_ListRowsRead(benchmark::State& state) {
  const auto entries = AbsentEntries(static_cast<int>(state.range(0)));
  if (!FillList(state, entries)) return;
  TListBox* list = Form_main->ListBox1;
  for (auto _ : state) {
    const int n = list->Count();
    for (int i = 0; i < n; ++i) {
      std::string row = list->Item(i);
      benchmark::DoNotOptimize(row.data());
    }
  }
  list->Clear();
}

void BM_ScanTick(benchmark::State& state) {
  const auto entries = AbsentEntries(static_cast<int>(state.range(0)));
  const auto lookups = LookupsOf(entries);
  if (!FillList(state, entries)) return;
  LONGLONG scan = 0, bare = 0;
  int found = 0;
  bool scanFirst = true;
  for (auto _ : state) {
    // The bare loop runs beside every tick, in alternating order, outside the timed part.
    state.PauseTiming();
    LONGLONG b0 = 0, b1 = 0;
    if (!scanFirst) {
      b0 = Now();
      found += FindAll(lookups);
      b1 = Now();
    }
    state.ResumeTiming();
    const LONGLONG t0 = Now();
    Form_main->Timer1Timer(nullptr);
    const LONGLONG t1 = Now();
    state.PauseTiming();
    if (scanFirst) {
      b0 = Now();
      found += FindAll(lookups);
      b1 = Now();
    }
    state.ResumeTiming();
    state.SetIterationTime(Seconds(t1 - t0));
    scan += t1 - t0;
    bare += b1 - b0;
    scanFirst = !scanFirst;
  }
  Form_main->ListBox1->Clear();
  if (found) {
    state.SkipWithError("a watch entry of the benchmark matched a window");
    return;
  }
  if (state.iterations() > 0 && bare > 0) {
    state.counters["ratio"] = static_cast<double>(scan) / static_cast<double>(bare);
    state.counters["bare_us"] = Seconds(bare) * 1e6 / static_cast<double>(state.iterations());
  }
}

BENCHMARK(BM_FindWindowLoop)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListRowsRead)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanTick)->Arg(20)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Errors the form reports while it is being made would otherwise wait in a message box.
std::string StartupError;

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  TApplication app;
  Application->OnException = [](TObject*) {
    StartupError = "unknown error";
    if (std::exception_ptr p = std::current_exception()) {
      try {
        std::rethrow_exception(p);
      } catch (const std::exception& e) {
        StartupError = e.what();
      } catch (...) {
      }
    }
  };
  try {
    // The form loads the watch list from beside the executable: start from an empty one.
    WatchList::Save({});
    Application->CreateForm<TForm_main>();
  } catch (const std::exception& e) {
    StartupError = e.what();
  }
  if (!StartupError.empty() || !Form_main || !Form_main->ListBox1) {
    std::fprintf(stderr, "scan_bench: the main window could not be made: %s\n",
                 StartupError.empty() ? "no list box" : StartupError.c_str());
    return 1;
  }

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
