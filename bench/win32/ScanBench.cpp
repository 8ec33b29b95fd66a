// Cost of one close-scan pass of the real main window against the bare loop of FindWindowA
// calls that a scan without the snapshot makes, for watch lists that match no window (so
// nothing is ever closed), with 50 windows of another process open.
//
// BM_ScanPass times TForm_main::Timer1Timer; beside every pass it also times the bare loop, so
// the reported "ratio" (pass / bare, elapsed time) compares the two under the same conditions
// of the same run; "bare_us" is the bare loop's mean. BM_Snapshot is the listing of the
// desktop's windows alone, and BM_FindWindowLoop the bare loop on its own.
#include "CloseScan.h"
#include "Unit_main.h"
#include "WatchList.h"
#include "WatchListFile.h"

#include "BenchClock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int kOtherWindows = 50;

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

void BM_Snapshot(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<HWND> windows = DesktopWindows();
    benchmark::DoNotOptimize(windows.data());
  }
}

void BM_ScanPass(benchmark::State& state) {
  const auto entries = AbsentEntries(static_cast<int>(state.range(0)));
  const auto lookups = LookupsOf(entries);
  Form_main->SetList(entries);
  int found = 0;
  TimeAgainstBaseline(
      state, [] { Form_main->Timer1Timer(nullptr); }, [&] { found += FindAll(lookups); });
  state.counters["bare_us"] = state.counters["system_us"];
  state.counters.erase("system_us");
  Form_main->SetList({});
  if (found) state.SkipWithError("a watch entry of the benchmark matched a window");
}

BENCHMARK(BM_Snapshot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindWindowLoop)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanPass)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);
// The bare loop over 20 000 entries takes seconds a round: a few rounds tell enough.
BENCHMARK(BM_ScanPass)->Arg(20000)->Iterations(3)->Unit(benchmark::kMicrosecond);

// Errors the form reports while it is being made would otherwise wait in a message box.
std::string StartupError;

// The other program's windows: a copy of this program started with --host-windows, which
// opens them and keeps them until its input is closed.
int HostWindows() {
  for (int i = 0; i < kOtherWindows; ++i)
    CreateWindowExA(0, "STATIC", ("Scan bench bystander " + std::to_string(i)).c_str(),
                    WS_POPUP | WS_VISIBLE, i * 5, i * 5, 100, 60, nullptr, nullptr, nullptr,
                    nullptr);
  std::printf("ready\n");
  std::fflush(stdout);
  char c;
  DWORD got = 0;
  ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr);
  return 0;
}

// Starts the window host and waits until its windows are open; its input pipe is returned
// (closing it ends the host), or null.
HANDLE StartHost() {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE inRead, inWrite, outRead, outWrite;
  if (!CreatePipe(&inRead, &inWrite, &sa, 0) || !CreatePipe(&outRead, &outWrite, &sa, 0))
    return nullptr;
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string cmd = std::string("\"") + exe + "\" --host-windows";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = inRead;
  si.hStdOutput = outWrite;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  char line[16] = {};
  DWORD got = 0;
  ReadFile(outRead, line, sizeof line - 1, &got, nullptr);
  CloseHandle(outRead);
  return std::strncmp(line, "ready", 5) == 0 ? inWrite : nullptr;
}

} // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--host-windows") == 0) return HostWindows();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  HANDLE host = StartHost();
  if (!host) {
    std::fprintf(stderr, "scan_bench: the other program's windows could not be opened\n");
    return 1;
  }

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
  CloseHandle(host);
  return 0;
}
