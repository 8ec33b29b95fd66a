// The close scan: one snapshot of the top-level windows per pass, matched against the watch
// list's index (and its few pattern and program entries), and the first window found for each
// entry asked to close. A window that does not answer in time is left alone for a while, and
// hides no other window of the same title or class meanwhile.
#pragma once
#include "WatchIndex.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

// The windows of the desktop in Z order, in one call: the top-level windows that the system's
// window lookup searches (hidden ones included), and where the system lists them here too, the
// message-only windows, which the lookup passes over (see IsTopLevel).
std::vector<HWND> DesktopWindows();
// Whether a window is a top-level window (not a message-only one); one call to the system.
bool IsTopLevel(HWND wnd);
// The whole title the system keeps for a window, read without a message to it.
std::wstring KeptTitle(HWND wnd);
// The file name (no folder) of the program of a process, or of the process a window belongs to;
// empty when the system does not tell.
std::wstring ProgramFileName(DWORD pid);
std::wstring ProgramFileOf(HWND wnd);

// A window that accepted a close request, as it was just before the request.
struct TClosedWindow {
  SYSTEMTIME Time{}; // local time of the request
  std::wstring Title, ClassName, Program;
  std::string Entry; // the entry that asked, as the list holds it
};

class TCloseScan {
public:
  // How long a close request waits for the window to handle it, and how long a window that did
  // not answer in time is left alone before it is asked again.
  static constexpr UINT kCloseTimeoutMs = 500;
  static constexpr DWORD kHungRetryMs = 10000;
  // The shortest time between two close requests of one entry, the period of the scan's ticks.
  static constexpr DWORD kTickMs = 300;

  // psTick: the scan's timer. psEvent: a window has just appeared; such a pass asks only for
  // entries that have not asked within kTickMs, and its requests count against the next tick.
  enum TPassKind { psTick, psEvent };
  struct TPassResult {
    int Asked = 0;        // close requests sent
    bool Stopped = false; // ended early: stop() said so, or the list changed during a request
  };

  // One pass over the list: for each entry, in list order, the first matching window of the
  // snapshot in Z order that is not left alone is asked to close. Windows are compared as the
  // system's lookup compares them (see WindowKey). stop is asked after every request.
  TPassResult Pass(TWatchIndex& list, TPassKind kind, const std::function<bool()>& stop = {});

  // Looks one entry up (entries the scan does not look up are skipped) and asks the window
  // found to close. Returns the window asked, or null.
  HWND Visit(const std::string& entry);
  // Ends a pass over the list: windows that are gone are forgotten.
  void EndPass();

  // Whether a window that did not answer in time is still being left alone at tick count now.
  bool LeftAlone(HWND wnd, DWORD now) const;
  // The first top-level window of the entry's title or class that is not being left alone, or
  // none.
  HWND FindTarget(const std::string& entry, DWORD now);
  // Sends the close request with a bounded wait; a window that times out is left alone.
  // Returns whether the window answered in time.
  bool RequestClose(HWND wnd);
  // Called by Pass for every window that accepted its request: it answered, and it has gone
  // or hidden itself.
  std::function<void(const TClosedWindow&)> OnClosed;
  // How many windows are remembered as not having answered.
  std::size_t UnansweredCount() const { return FUnanswered.size(); }

private:
  // The windows of the snapshot matching each looked-up key, by the key's entries, and those
  // matching each pattern or program entry, by its place among them.
  struct THits {
    std::unordered_map<const std::vector<int>*, std::vector<HWND>> Keyed;
    std::vector<std::vector<HWND>> Side;
  };
  // An entry and the windows of the snapshot that match it, in Z order.
  struct TMatch {
    int Entry;
    const std::vector<HWND>* Windows;
  };
  // Reads the snapshot's titles and classes as far as the list needs them and returns the
  // entries that match any window, in list order. The windows lists live in hits.
  std::vector<TMatch> Match(const TWatchIndex& list, const std::vector<HWND>& windows, THits& hits);
  // The first window of a match that is neither left alone nor closed earlier in this pass.
  HWND FirstOpen(const std::vector<HWND>& windows, const std::vector<HWND>& asked, DWORD now) const;
  // Asks a window to close for an entry, and reports it through OnClosed if it accepts.
  void CloseFor(HWND wnd, const std::string& entry);

  std::map<HWND, DWORD> FUnanswered; // window -> tick count when its request timed out
  // Class names of the last snapshot's windows. A window's class never changes, and a window
  // handle is not given to a new window while the old one is remembered here (the system
  // counts how often each handle slot is reused).
  std::unordered_map<HWND, std::wstring> FClassNames;
};
