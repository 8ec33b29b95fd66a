#include "CloseScan.h"
#include "WatchListFile.h"

#include <algorithm>
#include <iterator>

namespace {

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
  return TRUE;
}

// The text the system keeps for a window, read without a message to it (a hung window cannot
// stall the pass), as far as `limit` characters: a longer text is cut one character past it,
// enough to tell that it is longer.
std::wstring KeptText(HWND wnd, size_t limit, std::vector<wchar_t>& buffer) {
  buffer.resize(limit + 2);
  const int n = InternalGetWindowText(wnd, buffer.data(), static_cast<int>(buffer.size()));
  return WindowKey(std::wstring(buffer.data(), static_cast<size_t>(std::max(n, 0))));
}

std::wstring ClassKey(HWND wnd) {
  wchar_t name[257];
  const int n = GetClassNameW(wnd, name, 257);
  return WindowKey(std::wstring(name, static_cast<size_t>(std::max(n, 0))));
}

// Whether an entry may ask now: once per tick, and a pass between ticks asks only for entries
// that have not asked within a tick's time (its request then stands for the next tick's).
bool MayAsk(const TWatchIndex::TAsked& asked, TCloseScan::TPassKind kind, DWORD now) {
  if (!asked.Ever || now - asked.At >= TCloseScan::kTickMs) return true;
  return kind == TCloseScan::psTick && !asked.ByEvent;
}

} // namespace

std::vector<HWND> DesktopWindows() {
  // Listing the top-level windows alone checks each one with the system on the way; this list
  // costs one call, and only the few windows that match an entry are checked (FirstOpen).
  std::vector<HWND> windows;
  windows.reserve(128);
  EnumDesktopWindows(nullptr, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool IsTopLevel(HWND wnd) {
  return GetAncestor(wnd, GA_PARENT) == GetDesktopWindow();
}

std::vector<TCloseScan::TMatch> TCloseScan::Match(const TWatchIndex& list,
                                                  const std::vector<HWND>& windows, THits& hits) {
  const bool titles = list.HasKind(TWatchIndex::lkTitle);
  const bool classes = list.HasKind(TWatchIndex::lkClass);
  std::unordered_map<HWND, std::wstring> classNames;
  std::vector<wchar_t> buffer;
  for (HWND wnd : windows) {
    if (titles) {
      if (const auto* ids =
              list.Lookup(TWatchIndex::lkTitle, KeptText(wnd, list.LongestTitle(), buffer)))
        hits[ids].push_back(wnd);
    }
    if (classes) {
      auto known = FClassNames.find(wnd);
      std::wstring& name = classNames[wnd];
      name = known != FClassNames.end() ? std::move(known->second) : ClassKey(wnd);
      if (const auto* ids = list.Lookup(TWatchIndex::lkClass, name)) hits[ids].push_back(wnd);
    }
  }
  FClassNames.swap(classNames);
  std::vector<TMatch> matches;
  for (const auto& [ids, wnds] : hits)
    for (int entry : *ids)
      matches.push_back({entry, &wnds});
  std::sort(matches.begin(), matches.end(),
            [](const TMatch& a, const TMatch& b) { return a.Entry < b.Entry; });
  return matches;
}

HWND TCloseScan::FirstOpen(const std::vector<HWND>& windows, const std::vector<HWND>& asked,
                           DWORD now) const {
  for (HWND wnd : windows) {
    if (LeftAlone(wnd, now)) continue;
    // A window asked earlier in this pass is passed over once it has gone, as a new lookup
    // would pass it over.
    if (std::find(asked.begin(), asked.end(), wnd) != asked.end() && !IsWindow(wnd)) continue;
    if (!IsTopLevel(wnd)) continue;
    return wnd;
  }
  return nullptr;
}

TCloseScan::TPassResult TCloseScan::Pass(TWatchIndex& list, TPassKind kind,
                                         const std::function<bool()>& stop) {
  TPassResult result;
  if (!list.HasKind(TWatchIndex::lkTitle) && !list.HasKind(TWatchIndex::lkClass)) return result;
  const std::vector<HWND> windows = DesktopWindows();
  THits hits;
  const std::vector<TMatch> matches = Match(list, windows, hits);
  const uint64_t generation = list.Generation();
  std::vector<HWND> asked;
  for (const TMatch& m : matches) {
    const DWORD now = GetTickCount();
    TWatchIndex::TAsked& state = list.Entry(m.Entry).Asked;
    if (!MayAsk(state, kind, now)) continue;
    HWND wnd = FirstOpen(*m.Windows, asked, now);
    if (!wnd) continue;
    state = {now, true, kind == psEvent};
    asked.push_back(wnd);
    ++result.Asked;
    RequestClose(wnd);
    // Messages handled during the request may have changed the list or ended the program.
    if (list.Generation() != generation || (stop && stop())) {
      result.Stopped = true;
      break;
    }
  }
  EndPass();
  return result;
}

HWND TCloseScan::Visit(const std::string& entry) {
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

HWND TCloseScan::FindTarget(const std::string& entry, DWORD now) {
  TWatchIndex one;
  one.Assign({entry});
  if (one.Entry(0).Kind == TWatchIndex::lkNone) return nullptr;
  THits hits;
  const std::vector<TMatch> matches = Match(one, DesktopWindows(), hits);
  return matches.empty() ? nullptr : FirstOpen(*matches.front().Windows, {}, now);
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
