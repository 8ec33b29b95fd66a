#include "E2e.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

#ifndef TARNEL_EXE
#error TARNEL_EXE must name the built tarnel.exe
#endif

namespace e2e {

bool WaitUntil(const std::function<bool()>& predicate, int ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (predicate()) return true;
    if (static_cast<int>(GetTickCount() - start) >= ms) return predicate();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    Sleep(20);
  }
}

std::string WindowText(HWND wnd) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::string s(len + 1, '\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(wnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()),
                           SMTO_ABORTIFHUNG, 2000, &got))
    return {};
  s.resize(std::min<size_t>(got, len));
  return s;
}

std::string ClassNameOf(HWND wnd) {
  char buf[256] = {};
  GetClassNameA(wnd, buf, sizeof buf);
  return buf;
}

COLORREF ScreenPixel(POINT p) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

std::vector<HWND> ProcessWindows(DWORD pid, const char* className) {
  struct TCtx {
    DWORD Pid;
    const char* Class;
    std::vector<HWND> Found;
  } ctx{pid, className, {}};
  struct TEnum {
    static BOOL CALLBACK Visit(HWND w, LPARAM l) {
      auto* c = reinterpret_cast<TCtx*>(l);
      DWORD p = 0;
      GetWindowThreadProcessId(w, &p);
      if (p == c->Pid && (!c->Class || ClassNameOf(w) == c->Class)) c->Found.push_back(w);
      return TRUE;
    }
  };
  EnumWindows(TEnum::Visit, reinterpret_cast<LPARAM>(&ctx));
  return ctx.Found;
}

HWND FindMessageBox(DWORD pid, const char* caption) {
  for (HWND w : ProcessWindows(pid, "#32770"))
    if (IsWindowVisible(w) && (!caption || WindowText(w) == caption)) return w;
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  // The message is the static control with the box's message identifier.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::string();
}

void ReadFileBytes(const std::string& path, std::string& out, bool* exists) {
  out.clear();
  // Shared every way, as a reader that lets the program put a new list file in its place.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (exists) *exists = h != INVALID_HANDLE_VALUE;
  if (h == INVALID_HANDLE_VALUE) return;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got)
    out.append(buf, got);
  CloseHandle(h);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
}

std::vector<std::string> FolderFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = fd.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

// ---------------------------------------------------------------------------------------------

static std::string NewFolder() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "tarnel-e2e-" + std::to_string(GetCurrentProcessId()) +
                       "-" + std::to_string(++counter);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

TTarnel::TTarnel(std::optional<std::string> closeDat, size_t closeDatPathLength)
    : FRoot(NewFolder()), FFolder(FRoot) {
  if (closeDatPathLength) {
    // <root>\<padding>\close.dat
    const size_t fixed = FRoot.size() + 1 + 1 + std::string_view("close.dat").size();
    if (closeDatPathLength <= fixed) throw std::runtime_error("path length too short");
    FFolder = FRoot + "\\" + std::string(closeDatPathLength - fixed, 'p');
    if (!CreateDirectoryA(FFolder.c_str(), nullptr))
      throw std::runtime_error("cannot make " + FFolder);
  }
  FExe = FFolder + "\\tarnel.exe";
  if (!CopyFileA(TARNEL_EXE, FExe.c_str(), FALSE))
    throw std::runtime_error(std::string("cannot copy ") + TARNEL_EXE);
  if (closeDat) WriteFileBytes(CloseDatPath(), *closeDat);
}

TTarnel::TTarnel(const TInPlace& inPlace)
    : FFolder(inPlace.Exe.substr(0, inPlace.Exe.find_last_of('\\'))), FExe(inPlace.Exe) {}

TTarnel::~TTarnel() {
  if (FInfo.hProcess) {
    if (Running()) {
      for (HWND box = FindMessageBox(ProcessId()); box; box = FindMessageBox(ProcessId())) {
        PostMessageA(box, WM_CLOSE, 0, 0);
        if (!WaitUntil([&] { return !IsWindow(box); }, 1000)) break;
      }
      if (FMain && IsWindow(FMain)) PostMessageA(FMain, WM_CLOSE, 0, 0);
      if (!WaitExit(5000)) TerminateProcess(FInfo.hProcess, 1);
      WaitExit(5000);
    }
    CloseHandle(FInfo.hProcess);
    CloseHandle(FInfo.hThread);
  }
  if (!FRoot.empty()) RemoveTree(FRoot);
}

static PROCESS_INFORMATION StartProcess(const std::string& exe, const std::string& folder) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + exe + "\"";
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &si, &info))
    throw std::runtime_error("cannot start " + exe);
  return info;
}

void TTarnel::Start(bool waitForWindow) {
  if (FInfo.hProcess) {
    CloseHandle(FInfo.hProcess);
    CloseHandle(FInfo.hThread);
  }
  FMain = nullptr;
  FInfo = StartProcess(FExe, FFolder);
  // The window exists before the program's start-up has run; it is shown once the message
  // loop starts, and only then does it take clicks.
  if (waitForWindow &&
      !WaitUntil([&] { return MainWindow() != nullptr && IsWindowVisible(MainWindow()); }, 15000))
    throw std::runtime_error("tarnel.exe showed no main window");
}

DWORD TTarnel::StartAgain(int ms) {
  PROCESS_INFORMATION again = StartProcess(FExe, FFolder);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(again.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0)
    GetExitCodeProcess(again.hProcess, &code);
  else
    TerminateProcess(again.hProcess, 1);
  CloseHandle(again.hProcess);
  CloseHandle(again.hThread);
  return code;
}

std::string TTarnel::CloseDat(bool* exists) const {
  std::string s;
  ReadFileBytes(CloseDatPath(), s, exists);
  return s;
}

bool TTarnel::Running() const {
  return FInfo.hProcess && !WaitExit(0);
}
bool TTarnel::WaitExit(int ms) const {
  return WaitForSingleObject(FInfo.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}
DWORD TTarnel::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return code;
}

HWND TTarnel::MainWindow() {
  if (FMain && IsWindow(FMain)) return FMain;
  auto found = ProcessWindows(ProcessId(), "TForm_main");
  FMain = found.empty() ? nullptr : found.front();
  return FMain;
}

HWND TTarnel::Child(const char* className, int index) {
  struct TCtx {
    const char* Class;
    std::vector<HWND> Found;
  } ctx{className, {}};
  struct TEnum {
    static BOOL CALLBACK Visit(HWND w, LPARAM l) {
      auto* c = reinterpret_cast<TCtx*>(l);
      if (ClassNameOf(w) == c->Class) c->Found.push_back(w);
      return TRUE;
    }
  };
  EnumChildWindows(MainWindow(), TEnum::Visit, reinterpret_cast<LPARAM>(&ctx));
  // Windows in left-to-right order, so that the add button comes before the delete button.
  std::sort(ctx.Found.begin(), ctx.Found.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return index < static_cast<int>(ctx.Found.size()) ? ctx.Found[index] : nullptr;
}

void TTarnel::SetEntryText(const std::string& text) {
  DWORD_PTR r;
  SendMessageTimeoutA(Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 2000, &r);
}

std::string TTarnel::EntryText() {
  return WindowText(Edit());
}

void TTarnel::Click(HWND button) {
  PostMessageA(button, BM_CLICK, 0, 0);
}

std::vector<std::string> TTarnel::Rows() {
  // Row texts cross the process boundary as UTF-16 (the ANSI form is not marshalled reliably),
  // then come back to the program's code page.
  std::vector<std::string> rows;
  HWND lb = ListBox();
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(lb, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &n)) return rows;
  for (DWORD_PTR i = 0; i < n; ++i) {
    DWORD_PTR len = 0;
    SendMessageTimeoutW(lb, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &len);
    std::wstring w(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(w.data()), SMTO_ABORTIFHUNG,
                        2000, &got);
    w.resize(std::min<size_t>(got, len));
    std::string s(w.size() * 2, '\0');
    int bytes = WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), s.data(),
                                    static_cast<int>(s.size()), nullptr, nullptr);
    s.resize(static_cast<size_t>(std::max(bytes, 0)));
    rows.push_back(s);
  }
  return rows;
}

void TTarnel::SelectRow(int index) {
  DWORD_PTR r;
  SendMessageTimeoutA(ListBox(), LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                      2000, &r);
}

int TTarnel::SelectedRow() {
  DWORD_PTR r = static_cast<DWORD_PTR>(LB_ERR);
  SendMessageTimeoutA(ListBox(), LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r);
  return static_cast<int>(static_cast<LRESULT>(r));
}

bool TTarnel::Responsive(int ms) {
  // The entry box's modified flag is turned over by one posted message and back by another;
  // each change is read back through a sent query.
  HWND edit = Edit();
  const DWORD start = GetTickCount();
  auto left = [&] { return std::max(1, ms - static_cast<int>(GetTickCount() - start)); };
  auto modified = [&](bool& value) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(edit, EM_GETMODIFY, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(left()),
                             &r))
      return false;
    value = r != 0;
    return true;
  };
  bool before = false;
  if (!edit || !modified(before)) return false;
  for (bool want : {!before, before}) {
    if (!PostMessageA(edit, EM_SETMODIFY, want, 0)) return false;
    bool now = !want;
    if (!WaitUntil([&] { return modified(now) && now == want; }, left())) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------

struct TTestWindows::TState {
  std::thread Pump;
  DWORD PumpThreadId = 0;
  HANDLE Ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE Release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  mutable std::mutex Lock;
  std::map<HWND, TBehaviour> Behaviour;
  std::map<HWND, int> Closes;
  std::map<HWND, DWORD> Destroyed;
  std::vector<std::thread> Hung;
  HWND RelayTarget = nullptr;
  int Relayed = 0;
  // Request passed to the pump thread.
  std::string Title, Class;
  TBehaviour Wanted = wbClose;
  DWORD Style = 0;
  HWND Made = nullptr;
};

static TTestWindows::TState* gState = nullptr;

static LRESULT CALLBACK TestWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  TTestWindows::TState* s = gState;
  if (s && msg == WM_CLOSE) {
    TTestWindows::TBehaviour behaviour;
    HWND target;
    {
      std::lock_guard<std::mutex> g(s->Lock);
      ++s->Closes[wnd];
      behaviour = s->Behaviour[wnd];
      target = s->RelayTarget;
    }
    if (behaviour == TTestWindows::wbIgnoreClose) return 0;
    if (behaviour == TTestWindows::wbRelayClose && target) {
      for (int i = 0; i < 2; ++i) {
        DWORD_PTR r = 0;
        if (SendMessageTimeoutA(target, WM_CLOSE, 0, 0, SMTO_NORMAL, 2000, &r)) {
          std::lock_guard<std::mutex> g(s->Lock);
          ++s->Relayed;
        }
      }
    }
  }
  if (s && msg == WM_DESTROY) {
    std::lock_guard<std::mutex> g(s->Lock);
    s->Destroyed[wnd] = GetTickCount();
  }
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

static HWND MakeWindow(const std::string& title, const std::string& cls, DWORD style) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), cls.c_str(), &wc)) {
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls.c_str();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
  }
  return CreateWindowExA(0, cls.c_str(), title.c_str(), style, 20, 20, 240, 120, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TTestWindows::TTestWindows() : FState(new TState) {
  gState = FState;
  TState* s = FState;
  s->Pump = std::thread([s] {
    s->PumpThreadId = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // make the queue
    SetEvent(s->Ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd == nullptr && msg.message == WM_APP) {
        s->Made = MakeWindow(s->Title, s->Class, s->Style);
        {
          std::lock_guard<std::mutex> g(s->Lock);
          s->Behaviour[s->Made] = s->Wanted;
        }
        SetEvent(s->Ready);
        continue;
      }
      DispatchMessageA(&msg);
    }
  });
  WaitForSingleObject(s->Ready, INFINITE);
}

TTestWindows::~TTestWindows() {
  SetEvent(FState->Release);
  for (auto& t : FState->Hung)
    t.join();
  PostThreadMessageA(FState->PumpThreadId, WM_QUIT, 0, 0);
  FState->Pump.join();
  CloseHandle(FState->Ready);
  CloseHandle(FState->Release);
  gState = nullptr;
  delete FState;
}

HWND TTestWindows::Open(const std::string& title, const std::string& className,
                        TBehaviour behaviour, DWORD style) {
  TState* s = FState;
  if (behaviour == wbHang) {
    // A window whose thread stops handling messages until the test ends.
    HANDLE made = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWND wnd = nullptr;
    s->Hung.emplace_back([s, &wnd, made, title, className, style] {
      wnd = MakeWindow(title, className, style);
      SetEvent(made);
      WaitForSingleObject(s->Release, INFINITE);
      DestroyWindow(wnd);
    });
    WaitForSingleObject(made, INFINITE);
    CloseHandle(made);
    std::lock_guard<std::mutex> g(s->Lock);
    s->Behaviour[wnd] = wbHang;
    return wnd;
  }
  s->Title = title;
  s->Class = className;
  s->Wanted = behaviour;
  s->Style = style;
  PostThreadMessageA(s->PumpThreadId, WM_APP, 0, 0);
  WaitForSingleObject(s->Ready, INFINITE);
  return s->Made;
}

int TTestWindows::CloseRequests(HWND wnd) const {
  std::lock_guard<std::mutex> g(FState->Lock);
  auto it = FState->Closes.find(wnd);
  return it == FState->Closes.end() ? 0 : it->second;
}

DWORD TTestWindows::DestroyedAt(HWND wnd) const {
  std::lock_guard<std::mutex> g(FState->Lock);
  auto it = FState->Destroyed.find(wnd);
  return it == FState->Destroyed.end() ? 0 : it->second;
}

void TTestWindows::SetRelayTarget(HWND target) {
  std::lock_guard<std::mutex> g(FState->Lock);
  FState->RelayTarget = target;
}

int TTestWindows::RelayedCloses() const {
  std::lock_guard<std::mutex> g(FState->Lock);
  return FState->Relayed;
}

} // namespace e2e
