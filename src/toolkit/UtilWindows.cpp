#include "UtilWindows.h"
#include "Forms.h"

#include <utility>

namespace {
struct TUtilWindow {
  TWndMethod Method;
};

// The utility windows of this thread and the methods their messages go to.
TWindowLinks<TUtilWindow>& UtilLinks() {
  // Never freed: windows may still get messages while the thread's objects go at exit.
  thread_local auto* links = new TWindowLinks<TUtilWindow>;
  return *links;
}

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  TUtilWindow* w = UtilLinks().Find(wnd);
  if (!w) return DefWindowProcA(wnd, msg, wparam, lparam);
  TMessage m{msg, wparam, lparam, 0};
  GuardedCall([&] {
    TWndMethod method = w->Method; // the owner may deallocate the window while it runs
    method(m);
  });
  if (msg == WM_NCDESTROY) { // destroyed without DeallocateHWnd (at exit)
    UtilLinks().Unlink(wnd);
    DetachWindowObject(wnd);
  }
  return m.Result;
}
} // namespace

HWND AllocateHWnd(TObject* owner, TWndMethod method) {
  static const char* kClass = "TUtilWindow";
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    registered = true;
  }
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (!wnd) throw Exception("Cannot create utility window");
  UtilLinks().Link(wnd, TUtilWindow{std::move(method)});
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UtilWndProc));
  AttachWindowObject(wnd, owner);
  return wnd;
}

void DeallocateHWnd(HWND wnd) {
  if (!wnd) return;
  UtilLinks().Unlink(wnd);
  DetachWindowObject(wnd);
  DestroyWindow(wnd);
}
