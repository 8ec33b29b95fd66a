// The close scan: each watch entry is looked up among the top-level windows and the first
// window found is asked to close. A window that does not answer in time is left alone for a
// while, and hides no other window of the same title or class meanwhile.
#pragma once
#include <windows.h>

#include <cstddef>
#include <map>
#include <string>

class TCloseScan {
public:
  // How long a close request waits for the window to handle it, and how long a window that did
  // not answer in time is left alone before it is asked again.
  static constexpr UINT kCloseTimeoutMs = 500;
  static constexpr DWORD kHungRetryMs = 10000;

  // Looks the entry up (entries the scan does not look up are skipped) and asks the window
  // found to close. Returns the window asked, or null.
  HWND Visit(const std::string& entry);
  // Ends a pass over the list: windows that are gone are forgotten.
  void EndPass();

  // Whether a window that did not answer in time is still being left alone at tick count now.
  bool LeftAlone(HWND wnd, DWORD now) const;
  // The first top-level window of the entry's title or class that is not being left alone, or
  // none.
  HWND FindTarget(const std::string& entry, DWORD now) const;
  // Sends the close request with a bounded wait; a window that times out is left alone.
  void RequestClose(HWND wnd);
  // How many windows are remembered as not having answered.
  std::size_t UnansweredCount() const { return FUnanswered.size(); }

private:
  std::map<HWND, DWORD> FUnanswered; // window -> tick count when its request timed out
};
