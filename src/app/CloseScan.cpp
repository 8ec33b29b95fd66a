#include "CloseScan.h"
#include "WatchListFile.h"

#include <iterator>

HWND TCloseScan::Visit(const std::string& entry) {
  if (!WatchListFile::IsLookedUp(entry)) return nullptr;
  HWND wnd = FindTarget(entry, GetTickCount());
  if (wnd) RequestClose(wnd);
  return wnd;
}

void TCloseScan::EndPass() {
  for (auto it = FUnanswered.begin(); it != FUnanswered.end();)
    it = IsWindow(it->first) ? std::next(it) : FUnanswered.erase(it);
}

bool TCloseScan::LeftAlone(HWND wnd, DWORD now) const {
  auto it = FUnanswered.find(wnd);
  return it != FUnanswered.end() && IsWindow(wnd) && now - it->second < kHungRetryMs;
}

HWND TCloseScan::FindTarget(const std::string& entry, DWORD now) const {
  const bool byClass = WatchListFile::IsClassEntry(entry);
  const std::string cls(byClass ? WatchListFile::ClassNameOf(entry) : std::string_view{});
  auto next = [&](HWND after) {
    return byClass ? FindWindowExA(nullptr, after, cls.c_str(), nullptr)
                   : FindWindowExA(nullptr, after, nullptr, entry.c_str());
  };
  // Every window passed over is one of those left alone, so the walk ends after at most that
  // many steps even if the window order changes meanwhile.
  HWND wnd = next(nullptr);
  for (size_t passed = 0; wnd && LeftAlone(wnd, now) && passed <= FUnanswered.size(); ++passed)
    wnd = next(wnd);
  return wnd && !LeftAlone(wnd, now) ? wnd : nullptr;
}

void TCloseScan::RequestClose(HWND wnd) {
  const DWORD now = GetTickCount();
  FUnanswered.erase(wnd);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(wnd, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs,
                           &result) &&
      IsWindow(wnd))
    FUnanswered[wnd] = now;
}
