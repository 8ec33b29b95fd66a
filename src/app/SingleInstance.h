// One Tarnel per user session: the first start holds a named mark of the session and its user,
// and marks its main window once it has one; a later start finds that window, asks it to come
// to the front and ends before it makes a window, an icon, a hotkey or a save of its own.
#pragma once
#include "Handles.h"

#include <windows.h>

class TSingleInstance {
public:
  // How long a later start looks for the running Tarnel's window (it may still be starting, or
  // be ending, in which case this start takes its place).
  static constexpr DWORD kFindWindowMs = 10000;

  // True when this start is the session's Tarnel (it holds the mark until it is destroyed). False
  // when another one runs: its window has been asked to show itself and come to the front, or
  // did not appear within kFindWindowMs. A mark the system cannot make at all lets this start run.
  bool Claim();
  // Marks the main window that a later start brings to the front; Withdraw takes the mark away.
  static void Publish(HWND main);
  static void Withdraw(HWND main);
  // The top-level window that Publish marked, or null.
  static HWND Published();
  // The registered message that asks the main window to show itself and come to the front.
  static UINT ShowMessage();

private:
  bool TryClaim();
  TKernelHandle FMutex;
};
