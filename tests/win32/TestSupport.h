// What the Windows tests share: the test program's one application object, the test skin's
// file, the pumping of this thread's messages, a window that goes with its scope, and the
// shell's notification icons asked about and removed.
#pragma once
#include "Forms.h"

#include <shellapi.h>

#include <functional>
#include <string>

// The test program's one application, made on first use and kept to the end, as in the real
// program.
inline TApplication& App() {
  static TApplication* app = new TApplication;
  return *app;
}

#ifdef TARNEL_TEST_SKIN_FILE
// The packed test skin (flat colours for pixel tests; TestSkin.h names them), as a path the
// test program opens: give it to TSkinData::SetSkinFile.
inline std::string TestSkinPath() {
  return TARNEL_TEST_SKIN_FILE;
}
#endif

// Handles this thread's messages until predicate holds or ms milliseconds pass; returns
// whether it holds.
inline bool PumpUntil(const std::function<bool()>& predicate, int ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (predicate()) return true;
    if (static_cast<int>(GetTickCount() - start) >= ms) return predicate();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Handles this thread's messages for about ms milliseconds (one round at least).
inline void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (static_cast<int>(GetTickCount() - end) >= 0) return;
    Sleep(5);
  }
}

// A window of the test, destroyed at the end of the scope unless it is gone already.
class TTestWindow {
public:
  // Takes charge of wnd (which may be null: nothing to destroy then).
  explicit TTestWindow(HWND wnd) : FHandle(wnd) {}
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;
  ~TTestWindow() {
    if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
  }

  // The window (null when its making failed).
  HWND Handle() const { return FHandle; }
  operator HWND() const { return FHandle; }

private:
  HWND FHandle;
};

// Whether the shell holds an icon of (wnd, id 0): a change of nothing succeeds only then.
inline bool ShellHasIcon(HWND wnd) {
  NOTIFYICONDATAA probe{};
  probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
  probe.hWnd = wnd;
  probe.uID = 0;
  probe.uFlags = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &probe) != 0;
}

// Takes the icon of (wnd, id 0) out of the shell, as a shell that restarts loses it.
inline void RemoveFromShell(HWND wnd) {
  NOTIFYICONDATAA r{};
  r.cbSize = NOTIFYICONDATAA_V1_SIZE;
  r.hWnd = wnd;
  r.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &r);
}
