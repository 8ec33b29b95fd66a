#include "DesktopInput.h"

#include <shellapi.h>

#include <cstdlib>
#include <map>
#include <stdexcept>
#include <thread>

namespace e2e {

void Xdotool(const std::string& args) {
  if (!std::getenv("DISPLAY")) throw std::runtime_error("DISPLAY is not set: no X display");
  // Wine starts programs of the host by their Unix path.
  std::string cmd = "/usr/bin/xdotool " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw std::runtime_error("cannot run " + cmd);
  // A host program's handle cannot be waited for; callers wait for what it does.
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

namespace {
// Waits until the system reports the pointer at (x, y).
bool WaitPointerAt(int x, int y) {
  const bool there = WaitUntil(
      [&] {
        POINT p{};
        GetCursorPos(&p);
        return p.x == x && p.y == y;
      },
      3000);
  // A position another program recorded just before the move counts for 100 ms in the
  // system's eyes; after that every program asks the display again.
  Sleep(250);
  return there;
}

std::string MoveTo(POINT p) {
  return "mousemove " + std::to_string(p.x) + " " + std::to_string(p.y);
}
} // namespace

bool MovePointer(int x, int y) {
  Xdotool(MoveTo({x, y}));
  return WaitPointerAt(x, y);
}

void ClickAt(POINT p, int button, int count) {
  MovePointer(p.x, p.y);
  Xdotool("click --repeat " + std::to_string(count) + " --delay 80 " + std::to_string(button));
}

bool PointerSteps(const std::string& steps, POINT end) {
  // xdotool runs its commands one after the other, and the display takes the events of one
  // client in order: once the last move has arrived, so has everything before it.
  Xdotool(steps + " " + MoveTo(end));
  return WaitPointerAt(end.x, end.y);
}

bool DragPointer(POINT from, POINT to, int steps) {
  if (!MovePointer(from.x, from.y)) return false;
  std::string s = "mousedown 1 sleep 0.2";
  for (int i = 1; i <= steps; ++i) {
    const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    s += " " + MoveTo(p) + " sleep 0.05";
  }
  s += " sleep 0.2 mouseup 1 sleep 0.2";
  // One pixel further once the button is up: the mark that the whole sequence has arrived.
  return PointerSteps(s, {to.x + 1, to.y + 1});
}

void PressF5OnDisplay() {
  Xdotool("key F5");
}

void PressF5Injected() {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = VK_F5;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

POINT Centre(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// ---------------------------------------------------------------------------------------------

struct TWindowSet::TState {
  std::thread Pump;
  DWORD ThreadId = 0;
  HANDLE Ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  // The request handed to the pump thread, and its answer.
  std::string Class, Text;
  HWND Parent = nullptr;
  RECT Bounds{};
  HWND Made = nullptr;
};

namespace {
constexpr UINT WM_MAKE = WM_APP + 1;

void Register(const std::string& cls) {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), cls.c_str(), &wc)) return;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = cls.c_str();
  RegisterClassA(&wc);
}
} // namespace

TWindowSet::TWindowSet() : FState(std::make_unique<TState>()) {
  TState* s = FState.get();
  s->Pump = std::thread([s] {
    s->ThreadId = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(s->Ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (!msg.hwnd && msg.message == WM_MAKE) {
        if (s->Class != "BUTTON" && s->Class != "STATIC") Register(s->Class);
        const DWORD style = s->Parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        s->Made = CreateWindowExA(0, s->Class.c_str(), s->Text.c_str(), style, s->Bounds.left,
                                  s->Bounds.top, s->Bounds.right, s->Bounds.bottom, s->Parent,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        SetEvent(s->Ready);
        continue;
      }
      DispatchMessageA(&msg);
    }
  });
  WaitForSingleObject(s->Ready, INFINITE);
}

TWindowSet::~TWindowSet() {
  PostThreadMessageA(FState->ThreadId, WM_QUIT, 0, 0);
  FState->Pump.join(); // the thread's windows go with it
  CloseHandle(FState->Ready);
}

HWND TWindowSet::Top(const std::string& className, const std::string& title, int x, int y, int w,
                     int h) {
  return Child(nullptr, className, title, x, y, w, h);
}

HWND TWindowSet::Child(HWND parent, const std::string& className, const std::string& text, int x,
                       int y, int w, int h) {
  TState* s = FState.get();
  s->Class = className;
  s->Text = text;
  s->Parent = parent;
  s->Bounds = {x, y, w, h};
  PostThreadMessageA(s->ThreadId, WM_MAKE, 0, 0);
  WaitForSingleObject(s->Ready, INFINITE);
  return s->Made;
}

// ---------------------------------------------------------------------------------------------

bool ShellHasIcon(HWND wnd) {
  NOTIFYICONDATAA probe{};
  probe.cbSize = 88;
  probe.hWnd = wnd;
  probe.uID = 0;
  probe.uFlags = 0; // changes nothing; succeeds only for an icon the shell holds
  return Shell_NotifyIconA(NIM_MODIFY, &probe) != 0;
}

void RemoveShellIcon(HWND wnd) {
  NOTIFYICONDATAA r{};
  r.cbSize = 88;
  r.hWnd = wnd;
  r.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &r);
}

HWND TrayWindow(DWORD pid) {
  for (HWND w : ProcessWindows(pid))
    if (ShellHasIcon(w)) return w;
  return nullptr;
}

HWND OpenMenu(DWORD pid) {
  for (HWND w : ProcessWindows(pid, "#32768"))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

void TrayMouse(HWND tray, UINT mouseMessage) {
  PostMessageA(tray, 0xB054, 0, static_cast<LPARAM>(mouseMessage));
}

RECT TrayMenuRow(HWND menu, int row) {
  RECT r{};
  GetWindowRect(menu, &r);
  // The menu's frame is as thick at the top as at the bottom.
  const int items = (r.bottom - r.top - 2 * kTrayMenuFrame - kTraySeparatorHeight) / (trCount - 1);
  int top = r.top + kTrayMenuFrame;
  for (int i = 0; i < row; ++i)
    top += i == trSeparator ? kTraySeparatorHeight : items;
  const int height = row == trSeparator ? kTraySeparatorHeight : items;
  return {r.left + kTrayMenuFrame, top, r.right - kTrayMenuFrame, top + height};
}

void ClickTrayMenuItem(HWND menu, int row) {
  const RECT r = TrayMenuRow(menu, row);
  MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Sleep(100);
  Xdotool("click 1");
}

} // namespace e2e
