// Opens the notification icon's menu of the running program, as a right click on the icon
// would (scripts/run.sh --tray-menu uses it before its screenshot). Exit code 1 when no window
// of a tarnel process holds an icon, or its menu did not open within 5 seconds.
#include "DesktopInput.h"
#include "E2e.h"

#include <tlhelp32.h>

#include <cstring>

using namespace e2e;

int main() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  DWORD pid = 0;
  for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
    if (_stricmp(entry.szExeFile, "tarnel.exe") == 0) pid = entry.th32ProcessID;
  CloseHandle(snap);
  HWND tray = pid ? TrayWindow(pid) : nullptr;
  if (!tray) return 1;
  MovePointer(400, 260);
  TrayMouse(tray, WM_RBUTTONDOWN);
  TrayMouse(tray, WM_RBUTTONUP);
  return WaitUntil([&] { return OpenMenu(pid) != nullptr; }, 5000) ? 0 : 1;
}
