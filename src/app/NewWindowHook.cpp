#include "NewWindowHook.h"

namespace {

// The hook of this thread: out-of-context callbacks arrive on the thread that set the hook.
thread_local TNewWindowHook* ThreadHook = nullptr;

} // namespace

bool TNewWindowHook::Start(HWND notify, UINT msg) {
  Stop();
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  FCreate.Reset(
      SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnEvent, 0, 0, kFlags));
  if (!FCreate) return false;
  FName.Reset(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, OnEvent, 0,
                              0, kFlags));
  FNotify = notify;
  FMsg = msg;
  FPosted = false;
  if (ThreadHook && ThreadHook != this) ThreadHook->Stop();
  ThreadHook = this;
  return true;
}

void TNewWindowHook::Stop() {
  FCreate.Reset();
  FName.Reset();
  if (ThreadHook == this) ThreadHook = nullptr;
}

void TNewWindowHook::Request() {
  if (FPosted) return;
  FPosted = PostMessageA(FNotify, FMsg, 0, 0) != FALSE;
}

void CALLBACK TNewWindowHook::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object,
                                      LONG child, DWORD, DWORD) {
  TNewWindowHook* self = ThreadHook;
  if (!self || (hook != self->FCreate.Get() && hook != self->FName.Get())) return;
  if (event == EVENT_OBJECT_DESTROY || !wnd || object != OBJID_WINDOW || child != CHILDID_SELF)
    return;
  if (GetAncestor(wnd, GA_PARENT) != GetDesktopWindow()) return;
  self->Request();
}
