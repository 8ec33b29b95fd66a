// The performance counter, read directly (<chrono> does not build with the GBK execution
// character set of the Windows tree), and a subject timed against a baseline in the same run.
#pragma once
#include <benchmark/benchmark.h>

#include <windows.h>

inline LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

inline double Seconds(LONGLONG ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(ticks) / frequency;
}

// The benchmark's timed part runs `subject`; beside each run, outside the timed part and in
// alternating order, `baseline` is timed too, so that both see the same conditions. Sets the
// counters "ratio" (subject / baseline) and "system_us" (the baseline's mean in µs).
template <class Subject, class Baseline>
void TimeAgainstBaseline(benchmark::State& state, Subject subject, Baseline baseline) {
  LONGLONG paint = 0, system = 0;
  bool baselineFirst = true;
  for (auto _ : state) {
    state.PauseTiming();
    LONGLONG s0 = 0, s1 = 0;
    if (baselineFirst) {
      s0 = Now();
      baseline();
      s1 = Now();
    }
    state.ResumeTiming();
    const LONGLONG p0 = Now();
    subject();
    const LONGLONG p1 = Now();
    state.PauseTiming();
    if (!baselineFirst) {
      s0 = Now();
      baseline();
      s1 = Now();
    }
    baselineFirst = !baselineFirst;
    paint += p1 - p0;
    system += s1 - s0;
    state.ResumeTiming();
  }
  if (system > 0)
    state.counters["ratio"] = static_cast<double>(paint) / static_cast<double>(system);
  state.counters["system_us"] =
      1e6 * Seconds(system) / static_cast<double>(state.iterations() ? state.iterations() : 1);
}
