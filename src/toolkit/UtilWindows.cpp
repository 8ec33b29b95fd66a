#include "UtilWindows.h"
#include "Forms.h"

#include <utility>

namespace {
struct TUtilWindow {
  TWndMethod Method;
};

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* w = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!w) return DefWindowProcA(wnd, msg, wparam, lparam);
  TMessage m{msg, wparam, lparam, 0};
  GuardedCall([&] {
    TWndMethod method = w->Method; // the owner may deallocate the window while it runs
    method(m);
  });
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
  SetWindowLongPtrA(wnd, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(new TUtilWindow{std::move(method)}));
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UtilWndProc));
  SetPropA(wnd, MAKEINTATOM(ControlAtom()), owner);
  return wnd;
}

void DeallocateHWnd(HWND wnd) {
  if (!wnd) return;
  auto* w = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  RemovePropA(wnd, MAKEINTATOM(ControlAtom()));
  DestroyWindow(wnd);
  delete w;
}
