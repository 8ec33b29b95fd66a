// The link from a window to its object, the one lookup every window procedure of the toolkit and
// the skin engine makes. A table per kind of link (controls, utility windows, skin hooks) maps a
// window to what handles its messages; the last hit is remembered, so the usual case (a run of
// messages to one window) costs a comparison. Links are made when the window is created or
// hooked and dropped at WM_NCDESTROY, so a reused handle never reaches a stale object.
#pragma once
#include <windows.h>

#include <cstddef>
#include <unordered_map>
#include <utility>

template <class T>
class TWindowLinks {
public:
  // The value linked to wnd, or null. Stays valid until wnd is unlinked.
  T* Find(HWND wnd) noexcept {
    if (wnd == FLastWnd && wnd) return FLast;
    auto it = FMap.find(wnd);
    if (it == FMap.end()) return nullptr;
    FLastWnd = wnd;
    FLast = &it->second;
    return FLast;
  }

  // Links wnd to value (replacing an earlier link) and returns the value as kept.
  T& Link(HWND wnd, T value) {
    auto [it, added] = FMap.insert_or_assign(wnd, std::move(value));
    (void)added;
    return it->second;
  }

  // Drops the link of wnd, if any.
  void Unlink(HWND wnd) noexcept {
    if (wnd == FLastWnd) {
      FLastWnd = nullptr;
      FLast = nullptr;
    }
    FMap.erase(wnd);
  }

  std::size_t Count() const noexcept { return FMap.size(); }

  // A window being created gets its first messages before its creator knows its handle: the
  // value handed over here is linked to the first unknown window that asks (see Claim).
  void Expect(T value) {
    FPending = std::move(value);
    FHasPending = true;
  }
  void CancelExpect() noexcept { FHasPending = false; }
  // The value linked to wnd; an unknown window takes the expected value, if one is waiting.
  T* FindOrClaim(HWND wnd) {
    if (T* found = Find(wnd)) return found;
    if (!FHasPending) return nullptr;
    FHasPending = false;
    return &Link(wnd, std::move(FPending));
  }

private:
  std::unordered_map<HWND, T> FMap;
  HWND FLastWnd = nullptr;
  T* FLast = nullptr;
  T FPending{};
  bool FHasPending = false;
};
