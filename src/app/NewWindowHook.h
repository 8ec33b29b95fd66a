// Tells the close scan that a top-level window has appeared: an out-of-context window-event
// hook for window creation, and for showing and renaming where the system reports them. The
// hook's callback only records the request and posts one message to the window given; the pass
// itself runs when that message is handled, from the message loop. A burst of events costs one
// message until it has been handled.
#pragma once
#include "Handles.h"

#include <windows.h>

class TNewWindowHook {
public:
  TNewWindowHook() = default;
  ~TNewWindowHook() { Stop(); }
  TNewWindowHook(const TNewWindowHook&) = delete;
  TNewWindowHook& operator=(const TNewWindowHook&) = delete;

  // Installs the hook; each new top-level window of another process then posts msg (both
  // parameters 0) to notify, unless one is still waiting. Returns false, with nothing
  // installed, when the system refuses the hook (the caller's timer then does the work alone).
  // One hook per thread: starting a second replaces the first.
  bool Start(HWND notify, UINT msg);
  // Removes the hook; no message is posted afterwards.
  void Stop();
  bool Active() const { return static_cast<bool>(FCreate); }
  // Called by the handler of the posted message before its pass: events from now on post again.
  void Handled() { FPosted = false; }

private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object, LONG child,
                               DWORD thread, DWORD time);
  void Request();

  TWinEventHookHandle FCreate; // creation, destruction and showing
  TWinEventHookHandle FName;   // renaming
  HWND FNotify = nullptr;
  UINT FMsg = 0;
  bool FPosted = false;
};
