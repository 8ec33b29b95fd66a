#include "FolderWatch.h"

namespace {

// A change notification handle, given back with FindCloseChangeNotification.
struct TChangeNotification {
  using THandle = HANDLE;
  static THandle None() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { FindCloseChangeNotification(h); }
};
using TChangeHandle = TUniqueHandle<TChangeNotification>;

constexpr DWORD kChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

} // namespace

bool TFolderWatch::Start(const std::wstring& folder, HWND notify, UINT msg) {
  Stop();
  TChangeHandle change(FindFirstChangeNotificationW(folder.c_str(), FALSE, kChanges));
  FStop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!change || !FStop) return false;
  FNotify = notify;
  FMsg = msg;
  FPosted = false;
  // The thread owns the notification from here on; the stop event outlives the thread.
  FThread = std::thread([this, handle = change.Release(), stop = FStop.Get()] {
    TChangeHandle owned(handle);
    Run(owned.Get(), stop);
  });
  return true;
}

void TFolderWatch::Stop() {
  if (FThread.joinable()) {
    SetEvent(FStop.Get());
    FThread.join();
  }
  FStop.Reset();
}

void TFolderWatch::Run(HANDLE change, HANDLE stop) {
  const HANDLE waits[] = {stop, change};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    if (!FPosted.exchange(true) && !PostMessageA(FNotify, FMsg, 0, 0)) FPosted = false;
    if (!FindNextChangeNotification(change)) return;
  }
}
