// Tells a window that something in a folder changed: a change notification of the system on the
// folder (names, sizes, times of writing), waited for by a thread of its own, which posts one
// message to the window given. A burst of changes costs one message until it has been handled.
// Nothing is polled; what changed is for the window to find out.
#pragma once
#include "Handles.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

class TFolderWatch {
public:
  TFolderWatch() = default;
  ~TFolderWatch() { Stop(); }
  TFolderWatch(const TFolderWatch&) = delete;
  TFolderWatch& operator=(const TFolderWatch&) = delete;

  // Watches folder (a path as the wide file functions take it); each change then posts msg
  // (both parameters 0) to notify, unless one is still waiting. Returns false, with nothing
  // watched, when the system refuses to watch the folder. Starting again replaces the watch.
  bool Start(const std::wstring& folder, HWND notify, UINT msg);
  // Ends the watch and its thread; no message is posted afterwards.
  void Stop();
  bool Active() const { return FThread.joinable(); }
  // Called by the handler of the posted message: changes from now on post again.
  void Handled() { FPosted = false; }

private:
  void Run(HANDLE change, HANDLE stop);

  TKernelHandle FStop;
  std::thread FThread;
  HWND FNotify = nullptr;
  UINT FMsg = 0;
  std::atomic<bool> FPosted{false};
};
