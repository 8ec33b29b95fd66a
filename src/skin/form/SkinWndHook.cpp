#include "SkinWndHook.h"

#include "Forms.h"
#include "WindowLinks.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Window hooks

namespace {
struct THookEntry {
  WNDPROC Old = nullptr;
  bool Unicode = false;
  TSkinWndHook* Owner = nullptr; // null: a pass-through left in someone else's chain
};

// Never freed: windows may still be destroyed while static objects go at program end.
TWindowLinks<THookEntry>& HookTable() {
  static auto* table = new TWindowLinks<THookEntry>;
  return *table;
}

WNDPROC GetProc(HWND wnd, bool unicode) {
  return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(wnd, GWLP_WNDPROC)
                                           : GetWindowLongPtrA(wnd, GWLP_WNDPROC));
}

WNDPROC SetProc(HWND wnd, bool unicode, WNDPROC proc) {
  auto value = reinterpret_cast<LONG_PTR>(proc);
  return reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, value)
                                           : SetWindowLongPtrA(wnd, GWLP_WNDPROC, value));
}

LRESULT CallProc(bool unicode, WNDPROC proc, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!proc)
    return unicode ? DefWindowProcW(wnd, msg, wparam, lparam)
                   : DefWindowProcA(wnd, msg, wparam, lparam);
  return unicode ? CallWindowProcW(proc, wnd, msg, wparam, lparam)
                 : CallWindowProcA(proc, wnd, msg, wparam, lparam);
}
} // namespace

TSkinWndHook::~TSkinWndHook() {
  UnhookWindow();
}

void TSkinWndHook::Dispose(TSkinWndHook* hook) {
  if (!hook) return;
  if (hook->FDepth > 0) {
    hook->FDisposePending = true;
    return;
  }
  delete hook;
}

size_t TSkinWndHook::HookedWindowCount() {
  return HookTable().Count();
}

bool TSkinWndHook::HookWindow(HWND wnd) {
  if (FHookedWnd) return FHookedWnd == wnd;
  if (!wnd || !IsWindow(wnd)) return false;
  auto& table = HookTable();
  if (THookEntry* entry = table.Find(wnd)) {
    if (entry->Owner) return false;
    // Our procedure is still in the window's chain as a pass-through: take it over again.
    entry->Owner = this;
    FHookedWnd = FProcWnd = wnd;
    FOldProc = entry->Old;
    FUnicode = entry->Unicode;
    return true;
  }
  bool unicode = IsWindowUnicode(wnd) != FALSE;
  WNDPROC ours = unicode ? &TSkinWndHook::HookProcW : &TSkinWndHook::HookProcA;
  WNDPROC old = GetProc(wnd, unicode);
  // Entered before the switch: the window may get a message at once.
  table.Link(wnd, THookEntry{old, unicode, this});
  SetLastError(0);
  if (!SetProc(wnd, unicode, ours) && GetLastError() != 0) {
    table.Unlink(wnd);
    return false;
  }
  FHookedWnd = FProcWnd = wnd;
  FOldProc = old;
  FUnicode = unicode;
  return true;
}

void TSkinWndHook::UnhookWindow() {
  if (!FHookedWnd) return;
  HWND wnd = FHookedWnd;
  FHookedWnd = nullptr;
  auto& table = HookTable();
  THookEntry* entry = table.Find(wnd);
  if (!entry || entry->Owner != this) return;
  WNDPROC ours = FUnicode ? &TSkinWndHook::HookProcW : &TSkinWndHook::HookProcA;
  if (IsWindow(wnd) && GetProc(wnd, FUnicode) != ours) {
    entry->Owner = nullptr; // someone hooked the window after us: stay as a pass-through
    return;
  }
  if (IsWindow(wnd)) SetProc(wnd, FUnicode, FOldProc);
  table.Unlink(wnd);
}

LRESULT TSkinWndHook::CallOldProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!FProcWnd) return 0;
  return CallProc(FUnicode, FOldProc, FProcWnd, msg, wparam, lparam);
}

LRESULT TSkinWndHook::Route(bool unicode, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto& table = HookTable();
  const THookEntry* found = table.Find(wnd);
  if (!found)
    return unicode ? DefWindowProcW(wnd, msg, wparam, lparam)
                   : DefWindowProcA(wnd, msg, wparam, lparam);
  THookEntry entry = *found; // the table may change while the message is handled
  LRESULT result = 0;
  if (!entry.Owner) {
    result = CallProc(entry.Unicode, entry.Old, wnd, msg, wparam, lparam);
  } else {
    TSkinWndHook* owner = entry.Owner;
    ++owner->FDepth;
    GuardedCall([&] { result = owner->HookMessage(msg, wparam, lparam); });
    if (--owner->FDepth == 0 && owner->FDisposePending) delete owner;
  }
  if (msg == WM_NCDESTROY) {
    // The window is gone: forget a pass-through left for it.
    const THookEntry* again = table.Find(wnd);
    if (again && !again->Owner) table.Unlink(wnd);
  }
  return result;
}

LRESULT CALLBACK TSkinWndHook::HookProcA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return Route(false, wnd, msg, wparam, lparam);
}

LRESULT CALLBACK TSkinWndHook::HookProcW(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return Route(true, wnd, msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------
// The record of skinner events

namespace {
constexpr size_t kEventsKept = 512;

std::deque<TSkinnerEvent>& EventStore() {
  static auto* events = new std::deque<TSkinnerEvent>;
  return *events;
}
} // namespace

const std::deque<TSkinnerEvent>& SkinnerEvents() {
  return EventStore();
}

void RecordSkinnerEvent(TSkinnerEventKind kind, HWND wnd, const TSkinData* data) {
  auto& events = EventStore();
  events.push_back({kind, wnd, data});
  while (events.size() > kEventsKept)
    events.pop_front();
}

int CountSkinnerEvents(TSkinnerEventKind kind, HWND wnd) {
  const auto& events = EventStore();
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const TSkinnerEvent& e) {
    return e.Kind == kind && (!wnd || e.Window == wnd);
  }));
}

void ClearSkinnerEvents() {
  EventStore().clear();
}
