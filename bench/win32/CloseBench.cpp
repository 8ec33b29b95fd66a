// The real tarnel.exe measured from outside, with 50 other windows open (this program's):
//
//   close_bench latency [entries]  10 listed windows opened at random moments: time from
//       CreateWindowEx to the arrival of WM_CLOSE, and whether each painted first. Baseline:
//       the system's own window-event delivery, measured by a hook of this program on the same
//       windows. With entries (absent ones before the 10 listed), also the time until the main
//       window shows, and how long an add and a delete take to answer.
//   close_bench idle [seconds] [entries...]  CPU of tarnel.exe and of the prefix's wineserver
//       over the given time (20 s) with nothing to close, for each list length (0 200 20000);
//       baseline: the wineserver's CPU over the same time with no tarnel.exe running.
//
// Run under Wine in a tree's test prefix (see the README); tarnel.exe is taken from the tree.
#include "E2e.h"

#include "BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace e2e;

namespace {

constexpr int kOtherWindows = 50;
constexpr int kListed = 10;
constexpr char kClass[] = "TarnelCloseBench";

std::string ListedTitle(int i) {
  return "Close bench listed window " + std::to_string(i);
}

// Entries that match no window: titles and classes alternating.
std::string AbsentEntries(int n) {
  std::string list;
  for (int i = 0; i < n; ++i)
    list += (i % 2 ? "C|CloseBenchAbsent" : "Close bench absent ") + std::to_string(i) + "\r\n";
  return list;
}

double Ms(LONGLONG from, LONGLONG to) {
  return Seconds(to - from) * 1e3;
}

// What one listed window saw.
struct TRecord {
  LONGLONG Created = 0, Closed = 0, Event = 0;
  LONGLONG Painted = 0; // the first WM_PAINT
};
std::mutex Lock;
std::map<HWND, TRecord> Records; // by window; a record is made by whichever comes first

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CLOSE || msg == WM_PAINT) {
    const LONGLONG now = Now();
    std::lock_guard<std::mutex> hold(Lock);
    TRecord& r = Records[wnd];
    if (msg == WM_CLOSE && !r.Closed) r.Closed = now;
    if (msg == WM_PAINT && !r.Painted) r.Painted = now;
  }
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND wnd, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_WINDOW || child != CHILDID_SELF) return;
  const LONGLONG now = Now();
  std::lock_guard<std::mutex> hold(Lock);
  TRecord& r = Records[wnd];
  if (!r.Event) r.Event = now;
}

void RegisterClassOnce() {
  static const bool done = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterClassA(&wc) != 0;
  }();
  (void)done;
}

HWND OpenWindow(const std::string& title, int index) {
  return CreateWindowExA(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         20 + index % 40 * 10, 20 + index % 30 * 10, 200, 120, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The bystanders: windows of this thread that no entry names.
std::vector<HWND> OpenOthers() {
  RegisterClassOnce();
  std::vector<HWND> others;
  for (int i = 0; i < kOtherWindows; ++i)
    others.push_back(OpenWindow("Close bench bystander " + std::to_string(i), i));
  return others;
}

// Handles this thread's messages as they come (a close request at once, not at the next poll)
// until done holds or ms pass.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    if (done()) return true;
    const int left = ms - static_cast<int>(GetTickCount() - start);
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

// Out-of-context hook of a thread of its own, which pumps its messages while the bench runs.
class THookThread {
public:
  THookThread() {
    FThread = std::thread([this] {
      FId = GetCurrentThreadId();
      HWINEVENTHOOK hook =
          SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnEvent,
                          GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
      FReady = true;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
      if (hook) UnhookWinEvent(hook);
    });
    while (!FReady)
      Sleep(5);
  }
  ~THookThread() {
    PostThreadMessageA(FId, WM_QUIT, 0, 0);
    FThread.join();
  }

private:
  std::thread FThread;
  DWORD FId = 0;
  volatile bool FReady = false;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty()      ? 0
         : v.size() % 2 ? v[v.size() / 2]
                        : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Sends a click and times its answer: the command runs (and saves) before the send returns.
double TimedClick(HWND button) {
  const LONGLONG t0 = Now();
  DWORD_PTR r = 0;
  SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &r);
  return Ms(t0, Now());
}

// A listed window built as many small programs build their main window: made visible, given a
// dozen controls, then painted from the message loop. (A program that paints right after it
// shows its window, before it takes any message, paints before any other program can reach it.)
HWND OpenListed(int i) {
  HWND wnd =
      CreateWindowExA(0, kClass, ListedTitle(i).c_str(), WS_OVERLAPPEDWINDOW, 40 + i * 20,
                      40 + i * 20, 320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  static const char* const kControls[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX"};
  for (int c = 0; c < 12; ++c)
    CreateWindowExA(0, kControls[c % 4], "control", WS_CHILD | WS_VISIBLE | WS_BORDER,
                    10 + c % 3 * 100, 10 + c / 3 * 50, 90, 40, wnd, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
  return wnd;
}

struct TRound {
  double Median = 0, Worst = 0, Event = 0;
  int BeforePaint = 0, Missed = 0;
};

// Opens the listed windows one by one at random moments (the same moments every run) and
// waits for each to be asked to close.
TRound OpenListedWindows() {
  {
    std::lock_guard<std::mutex> hold(Lock);
    Records.clear();
  }
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> pause(120, 480);
  std::vector<HWND> listed;
  for (int i = 0; i < kListed; ++i) {
    Pump(pause(random));
    const LONGLONG created = Now();
    HWND wnd = OpenListed(i);
    {
      std::lock_guard<std::mutex> hold(Lock);
      Records[wnd].Created = created;
      listed.push_back(wnd);
    }
    PumpUntil(
        [&] {
          std::lock_guard<std::mutex> hold(Lock);
          return Records[wnd].Closed != 0;
        },
        2000);
    DestroyWindow(wnd);
  }
  TRound round;
  std::vector<double> close, event;
  std::lock_guard<std::mutex> hold(Lock);
  for (HWND w : listed) {
    const TRecord& r = Records[w];
    if (r.Event) event.push_back(Ms(r.Created, r.Event));
    if (!r.Closed) {
      ++round.Missed;
      continue;
    }
    close.push_back(Ms(r.Created, r.Closed));
    if (!r.Painted || r.Painted > r.Closed) ++round.BeforePaint;
  }
  round.Median = Median(close);
  round.Worst = close.empty() ? 0 : *std::max_element(close.begin(), close.end());
  round.Event = Median(event);
  return round;
}

// The plainest closer there is, as a process of its own: a window-event hook that asks every
// new window of a listed title to close from inside its callback.
void CALLBACK CloseFromCallback(HWINEVENTHOOK, DWORD, HWND wnd, LONG object, LONG child, DWORD,
                                DWORD) {
  if (object != OBJID_WINDOW || child != CHILDID_SELF) return;
  wchar_t title[128];
  const std::wstring prefix = L"Close bench listed window ";
  const int n = InternalGetWindowText(wnd, title, 128);
  if (n > 0 && std::wstring(title, static_cast<size_t>(n)).rfind(prefix, 0) == 0) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(wnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 500, &r);
  }
}

int PlainCloser() {
  SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, CloseFromCallback, 0, 0,
                  WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    DispatchMessageA(&msg);
  return 0;
}

void PrintRound(const char* who, const TRound& r) {
  std::printf("  %-22s median %5.1f ms, worst %5.1f ms, %2d of %d closed before their first "
              "paint, %d not closed within 2 s\n",
              who, r.Median, r.Worst, r.BeforePaint, kListed, r.Missed);
}

int Latency(int absent) {
  RegisterClassOnce();
  std::vector<HWND> others = OpenOthers();
  THookThread hook;
  std::printf("close latency, %d other windows, listed windows shown and painted %s\n",
              kOtherWindows, "from their message loop, after a dozen controls are made");
  // The baseline: the plain closer, started as a copy of this program.
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string cmd = std::string("\"") + exe + "\" plain-closer";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  TRound plain;
  if (CreateProcessA(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    Pump(1500);
    plain = OpenListedWindows();
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  PrintRound("plain closer:", plain);

  std::string list = AbsentEntries(absent);
  for (int i = 0; i < kListed; ++i)
    list += ListedTitle(i) + "\r\n";
  TTarnel tarnel(list);
  const LONGLONG started = Now();
  tarnel.Start();
  const double shownMs = Ms(started, Now());
  Pump(1000);
  const TRound round = OpenListedWindows();
  const std::string who = "tarnel, " + std::to_string(absent + kListed) + " entries:";
  PrintRound(who.c_str(), round);
  std::printf("  ratio %.2f to the plain closer; event delivery to a hook of this program %.1f "
              "ms (median)\n",
              plain.Median > 0 ? round.Median / plain.Median : 0.0, round.Event);
  if (absent > 0) {
    tarnel.SetEntryText("Close bench added entry");
    const double addMs = TimedClick(tarnel.AddButton());
    tarnel.SelectRow(absent + kListed);
    const double deleteMs = TimedClick(tarnel.DeleteButton());
    std::printf("  main window shown %.0f ms after the start; add answered in %.1f ms, delete "
                "in %.1f ms\n",
                shownMs, addMs, deleteMs);
  }
  for (HWND w : others)
    DestroyWindow(w);
  return round.Missed ? 1 : 0;
}

// CPU seconds (user + system) of a Unix process, read from /proc through Wine's drive Z:.
double UnixCpu(const std::string& pid) {
  std::string stat;
  ReadFileBytes("Z:\\proc\\" + pid + "\\stat", stat);
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  // After the command name: state is field 3; utime and stime are fields 14 and 15.
  std::vector<std::string> fields;
  size_t at = close + 2;
  while (at < stat.size()) {
    size_t end = stat.find(' ', at);
    if (end == std::string::npos) end = stat.size();
    fields.push_back(stat.substr(at, end - at));
    at = end + 1;
  }
  if (fields.size() < 13) return 0;
  return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / 100.0;
}

// The Unix process whose command line holds `needle` and whose environment names this
// prefix (other prefixes may run on the machine at the same time).
std::string FindUnixProcess(const std::string& needle) {
  char prefix[1024] = {};
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  const std::string mark = std::string("WINEPREFIX=") + prefix + '\0';
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA("Z:\\proc\\*", &fd);
  std::string found;
  if (h == INVALID_HANDLE_VALUE) return found;
  do {
    const std::string pid = fd.cFileName;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string cmdline, env;
    ReadFileBytes("Z:\\proc\\" + pid + "\\cmdline", cmdline);
    if (cmdline.find(needle) == std::string::npos) continue;
    ReadFileBytes("Z:\\proc\\" + pid + "\\environ", env);
    if (env.find(mark) == std::string::npos && prefix[0]) continue;
    found = pid;
  } while (found.empty() && FindNextFileA(h, &fd));
  FindClose(h);
  return found;
}

int Idle(int seconds, const std::vector<int>& lengths) {
  std::vector<HWND> others = OpenOthers();
  const std::string server = FindUnixProcess("wineserver");
  if (server.empty()) {
    std::fprintf(stderr, "close_bench: the prefix's wineserver was not found under Z:\\proc\n");
    return 1;
  }
  auto percent = [&](double cpu) { return 100.0 * cpu / seconds; };
  Pump(1000);
  double s0 = UnixCpu(server);
  Pump(seconds * 1000);
  std::printf("idle, %d other windows, %d s: wineserver alone %.2f %% of a core (baseline)\n",
              kOtherWindows, seconds, percent(UnixCpu(server) - s0));
  for (int n : lengths) {
    TTarnel tarnel(AbsentEntries(n));
    tarnel.Start();
    Pump(2000);
    const std::string program = FindUnixProcess(tarnel.Folder().substr(3));
    const double t0 = program.empty() ? 0 : UnixCpu(program);
    s0 = UnixCpu(server);
    Pump(seconds * 1000);
    const double t1 = program.empty() ? 0 : UnixCpu(program);
    std::printf("  %5d entries: tarnel.exe %.2f %%, wineserver %.2f %% of a core%s\n", n,
                percent(t1 - t0), percent(UnixCpu(server) - s0),
                program.empty() ? " (tarnel.exe's process not found)" : "");
  }
  for (HWND w : others)
    DestroyWindow(w);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "plain-closer") return PlainCloser();
  if (mode == "latency") return Latency(argc > 2 ? std::atoi(argv[2]) : 0);
  if (mode == "idle") {
    std::vector<int> lengths;
    for (int i = 3; i < argc; ++i)
      lengths.push_back(std::atoi(argv[i]));
    if (lengths.empty()) lengths = {0, 200, 20000};
    return Idle(argc > 2 ? std::atoi(argv[2]) : 20, lengths);
  }
  std::fprintf(stderr, "usage: close_bench latency [entries] | idle [seconds] [entries...]\n");
  return 2;
}
