#include "CloseScan.h"
#include "Handles.h"
#include "TitlePattern.h"
#include "WatchListFile.h"

#include <algorithm>
#include <iterator>
#include <optional>

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

// Titles longer than this are read this far: no window needs more to be told apart.
constexpr size_t kLongestTitleRead = size_t{1} << 16;

std::wstring RawTitle(HWND wnd, std::vector<wchar_t>& buffer) {
  for (size_t size = 512;; size *= 2) {
    buffer.resize(size);
    const int n = InternalGetWindowText(wnd, buffer.data(), static_cast<int>(size));
    const size_t got = static_cast<size_t>(std::max(n, 0));
    if (got + 1 < size || size >= kLongestTitleRead) return std::wstring(buffer.data(), got);
  }
}

std::wstring RawClassName(HWND wnd) {
  wchar_t name[257];
  const int n = GetClassNameW(wnd, name, 257);
  return std::wstring(name, static_cast<size_t>(std::max(n, 0)));
}

std::wstring ClassKey(HWND wnd) {
  return WindowKey(RawClassName(wnd));
}

bool Matches(const std::wstring& pattern, const std::wstring& title) {
  return TitlePattern::Match(std::wstring_view(pattern), std::wstring_view(title));
}

// What the side entries ask of one window of the snapshot, each read once and only when asked.
class TWindowFacts {
public:
  TWindowFacts(HWND wnd, std::vector<wchar_t>& buffer,
               std::unordered_map<DWORD, std::wstring>& programs)
      : FWnd(wnd), FBuffer(buffer), FPrograms(programs) {}
  const std::wstring& Title() {
    if (!FTitle) FTitle = WindowKey(RawTitle(FWnd, FBuffer));
    return *FTitle;
  }
  DWORD Process() {
    if (!FPid) {
      DWORD pid = 0;
      GetWindowThreadProcessId(FWnd, &pid);
      FPid = pid;
    }
    return *FPid;
  }
  // The program's file name as compared, read once per process and pass.
  const std::wstring& Program() {
    auto [it, added] = FPrograms.try_emplace(Process());
    if (added) it->second = WindowKey(ProgramFileName(Process()));
    return it->second;
  }
  // A visible window with a title bar.
  bool Captioned() {
    if (!FCaptioned) {
      const LONG_PTR style = GetWindowLongPtrW(FWnd, GWL_STYLE);
      FCaptioned = (style & WS_CAPTION) == WS_CAPTION && (style & WS_VISIBLE);
    }
    return *FCaptioned;
  }

private:
  HWND FWnd;
  std::vector<wchar_t>& FBuffer;
  std::unordered_map<DWORD, std::wstring>& FPrograms;
  std::optional<std::wstring> FTitle;
  std::optional<DWORD> FPid;
  std::optional<bool> FCaptioned;
};

// Whether a window of the snapshot matches a pattern or program entry. A pattern never matches
// an untitled window (it would take our own hidden windows too); a program entry never matches
// a window of this process.
bool MatchesSide(const TWatchIndex::TEntry& e, TWindowFacts& facts) {
  if (e.Kind == TWatchIndex::lkPattern)
    return !facts.Title().empty() && Matches(e.Key, facts.Title());
  if (e.Kind != TWatchIndex::lkProgram || facts.Process() == GetCurrentProcessId()) return false;
  if (facts.Program() != e.Key || !facts.Captioned()) return false;
  return !e.Narrowed || Matches(e.Pattern, facts.Title());
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

std::wstring KeptTitle(HWND wnd) {
  std::vector<wchar_t> buffer;
  return RawTitle(wnd, buffer);
}

std::wstring ProgramFileName(DWORD pid) {
  TKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return {};
  std::vector<wchar_t> path(32768);
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.Get(), 0, path.data(), &size)) return {};
  const std::wstring_view full(path.data(), size);
  const size_t slash = full.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? full : full.substr(slash + 1));
}

std::wstring ProgramFileOf(HWND wnd) {
  DWORD pid = 0;
  return GetWindowThreadProcessId(wnd, &pid) ? ProgramFileName(pid) : std::wstring();
}

std::vector<TCloseScan::TMatch> TCloseScan::Match(const TWatchIndex& list,
                                                  const std::vector<HWND>& windows, THits& hits) {
  const bool titles = list.HasKind(TWatchIndex::lkTitle);
  const bool classes = list.HasKind(TWatchIndex::lkClass);
  const std::vector<int>& side = list.Side();
  hits.Side.assign(side.size(), {});
  std::unordered_map<HWND, std::wstring> classNames;
  std::unordered_map<DWORD, std::wstring> programs;
  std::vector<wchar_t> buffer;
  for (HWND wnd : windows) {
    TWindowFacts facts(wnd, buffer, programs);
    if (titles) {
      // Where a pattern reads the whole title anyway, the lookup takes it too.
      const std::wstring title =
          side.empty() ? KeptText(wnd, list.LongestTitle(), buffer) : facts.Title();
      if (const auto* ids = list.Lookup(TWatchIndex::lkTitle, title))
        hits.Keyed[ids].push_back(wnd);
    }
    if (classes) {
      auto known = FClassNames.find(wnd);
      std::wstring& name = classNames[wnd];
      name = known != FClassNames.end() ? std::move(known->second) : ClassKey(wnd);
      if (const auto* ids = list.Lookup(TWatchIndex::lkClass, name)) hits.Keyed[ids].push_back(wnd);
    }
    for (size_t k = 0; k < side.size(); ++k)
      if (MatchesSide(list.Entry(side[k]), facts)) hits.Side[k].push_back(wnd);
  }
  FClassNames.swap(classNames);
  std::vector<TMatch> matches;
  for (const auto& [ids, wnds] : hits.Keyed)
    for (int entry : *ids)
      matches.push_back({entry, &wnds});
  for (size_t k = 0; k < side.size(); ++k)
    if (!hits.Side[k].empty()) matches.push_back({side[k], &hits.Side[k]});
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
  if (!list.Searches()) return result;
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
    CloseFor(wnd, list.Entry(m.Entry).Text);
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

bool TCloseScan::RequestClose(HWND wnd) {
  const DWORD now = GetTickCount();
  FUnanswered.erase(wnd);
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutA(wnd, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                            kCloseTimeoutMs, &result) != 0;
  if (!answered && IsWindow(wnd)) FUnanswered[wnd] = now;
  return answered;
}

void TCloseScan::CloseFor(HWND wnd, const std::string& entry) {
  if (!OnClosed) {
    RequestClose(wnd);
    return;
  }
  // The window is read before it is asked: once it has accepted, it is gone.
  TClosedWindow closed;
  GetLocalTime(&closed.Time);
  closed.Title = KeptTitle(wnd);
  closed.ClassName = RawClassName(wnd);
  closed.Program = ProgramFileOf(wnd);
  closed.Entry = entry;
  const bool wasVisible = IsWindowVisible(wnd) != 0;
  if (!RequestClose(wnd)) return;
  // A window that stays as it was refused; one that hides itself counts as closed.
  if (IsWindow(wnd) && (!wasVisible || IsWindowVisible(wnd))) return;
  const auto report = OnClosed; // the handler may replace itself
  report(closed);
}
