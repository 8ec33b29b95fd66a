#include "SingleInstance.h"

#include <string>
#include <utility>

namespace {

// The window property that marks the running Tarnel's main window.
constexpr char kMarkProperty[] = "TarnelInstance";
constexpr DWORD kFindPauseMs = 50;

// The mark's name: session-local, and the user's own within the session.
std::wstring MarkName() {
  wchar_t user[257] = {};
  DWORD size = 257;
  if (!GetUserNameW(user, &size)) user[0] = L'\0';
  return std::wstring(L"Local\\Tarnel.Instance.") + user;
}

BOOL CALLBACK FindMarked(HWND wnd, LPARAM found) {
  if (!GetPropA(wnd, kMarkProperty)) return TRUE;
  *reinterpret_cast<HWND*>(found) = wnd;
  return FALSE;
}

} // namespace

bool TSingleInstance::TryClaim() {
  const std::wstring name = MarkName();
  SetLastError(ERROR_SUCCESS);
  TKernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  // A handle kept to another start's mark would keep that mark alive after the start has ended.
  if (!existed) FMutex = std::move(mutex);
  return !existed;
}

bool TSingleInstance::Claim() {
  const DWORD start = GetTickCount();
  for (;;) {
    if (TryClaim()) return true;
    if (HWND main = Published()) {
      // A program the user has just started may hand the foreground on; the running one takes
      // it when it shows itself.
      DWORD pid = 0;
      GetWindowThreadProcessId(main, &pid);
      AllowSetForegroundWindow(pid);
      PostMessageA(main, ShowMessage(), 0, 0);
      return false;
    }
    if (GetTickCount() - start >= kFindWindowMs) return false;
    Sleep(kFindPauseMs);
  }
}

void TSingleInstance::Publish(HWND main) {
  SetPropA(main, kMarkProperty, reinterpret_cast<HANDLE>(1));
}

void TSingleInstance::Withdraw(HWND main) {
  RemovePropA(main, kMarkProperty);
}

HWND TSingleInstance::Published() {
  HWND found = nullptr;
  EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&found));
  return found;
}

UINT TSingleInstance::ShowMessage() {
  static const UINT message = RegisterWindowMessageA("TarnelShowMainWindow");
  return message;
}
