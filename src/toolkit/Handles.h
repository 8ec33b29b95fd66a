// Owners of Win32 handles. Each owner gives back what it holds exactly once, when it goes (or
// when it is given something else), so that no code pairs a Create with a Delete, a Select
// with a Select back, a Get with a Release or a Begin with an End by hand.
//
//   TUniqueHandle<Traits>  one handle and its release function (GDI objects, files, hooks, ...)
//   TSelectObject          an object selected into a device context, the previous one put back
//   TSavedDC               a device context's state, restored
//   TPaintDC               BeginPaint / EndPaint
//   TWindowDC, TClientDC   GetWindowDC / GetDC, then ReleaseDC
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <utility>

// ---------------------------------------------------------------------------------------------
// One handle and its release function

// Traits name the handle type, its "none" value and how it is given back.
template <class Traits>
class TUniqueHandle {
public:
  using THandle = typename Traits::THandle;

  TUniqueHandle() = default;
  explicit TUniqueHandle(THandle handle) noexcept : FHandle(handle) {}
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  THandle Get() const noexcept { return FHandle; }
  explicit operator bool() const noexcept { return FHandle != Traits::None(); }
  // Lets go of the handle without giving it back; the caller owns it from now on.
  THandle Release() noexcept { return std::exchange(FHandle, Traits::None()); }
  // Gives back the handle held (if any) and takes another.
  void Reset(THandle handle = Traits::None()) noexcept {
    const THandle old = std::exchange(FHandle, handle);
    if (old != Traits::None() && old != handle) Traits::Close(old);
  }

private:
  THandle FHandle = Traits::None();
};

namespace HandleTraits {

template <class H>
struct TNullNone {
  using THandle = H;
  static THandle None() noexcept { return nullptr; }
};

// Brushes, pens, fonts, bitmaps, regions.
template <class H>
struct TGdiObject : TNullNone<H> {
  static void Close(H h) noexcept { DeleteObject(h); }
};
// Memory device contexts made with CreateCompatibleDC.
struct TMemoryDC : TNullNone<HDC> {
  static void Close(HDC h) noexcept { DeleteDC(h); }
};
// Files, whose "none" is INVALID_HANDLE_VALUE.
struct TFile {
  using THandle = HANDLE;
  static THandle None() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
// Threads, events and other kernel objects, whose "none" is null.
struct TKernelObject : TNullNone<HANDLE> {
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
struct THookObject : TNullNone<HHOOK> {
  static void Close(HHOOK h) noexcept { UnhookWindowsHookEx(h); }
};
struct TWinEventHookObject : TNullNone<HWINEVENTHOOK> {
  static void Close(HWINEVENTHOOK h) noexcept { UnhookWinEvent(h); }
};
struct TIconObject : TNullNone<HICON> {
  static void Close(HICON h) noexcept { DestroyIcon(h); }
};
struct TMenuObject : TNullNone<HMENU> {
  static void Close(HMENU h) noexcept { DestroyMenu(h); }
};
struct TImageListObject : TNullNone<HIMAGELIST> {
  static void Close(HIMAGELIST h) noexcept { ImageList_Destroy(h); }
};
struct TRegKeyObject : TNullNone<HKEY> {
  static void Close(HKEY h) noexcept { RegCloseKey(h); }
};

} // namespace HandleTraits

using TBrushHandle = TUniqueHandle<HandleTraits::TGdiObject<HBRUSH>>;
using TPenHandle = TUniqueHandle<HandleTraits::TGdiObject<HPEN>>;
using TFontHandle = TUniqueHandle<HandleTraits::TGdiObject<HFONT>>;
using TBitmapHandle = TUniqueHandle<HandleTraits::TGdiObject<HBITMAP>>;
using TRegionHandle = TUniqueHandle<HandleTraits::TGdiObject<HRGN>>;
using TMemoryDCHandle = TUniqueHandle<HandleTraits::TMemoryDC>;
using TFileHandle = TUniqueHandle<HandleTraits::TFile>;
using TKernelHandle = TUniqueHandle<HandleTraits::TKernelObject>;
using THookHandle = TUniqueHandle<HandleTraits::THookObject>;
using TWinEventHookHandle = TUniqueHandle<HandleTraits::TWinEventHookObject>;
using TIconHandle = TUniqueHandle<HandleTraits::TIconObject>;
using TMenuHandle = TUniqueHandle<HandleTraits::TMenuObject>;
using TImageListHandle = TUniqueHandle<HandleTraits::TImageListObject>;
using TRegKeyHandle = TUniqueHandle<HandleTraits::TRegKeyObject>;

// ---------------------------------------------------------------------------------------------
// Scoped device-context states

// Selects an object into a device context for the owner's lifetime; the object that was
// selected before is put back. A null object selects nothing.
class TSelectObject {
public:
  TSelectObject(HDC dc, HGDIOBJ object) noexcept
      : FDC(dc), FOld(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectObject() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

private:
  HDC FDC;
  HGDIOBJ FOld;
};

// Saves a device context's whole state (objects, colours, modes, clipping, origins) and
// restores it when the owner goes.
class TSavedDC {
public:
  explicit TSavedDC(HDC dc) noexcept : FDC(dc), FId(dc ? SaveDC(dc) : 0) {}
  ~TSavedDC() {
    if (FId) RestoreDC(FDC, FId);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  HDC FDC;
  int FId;
};

// The device context of a WM_PAINT: BeginPaint when made, EndPaint when it goes.
class TPaintDC {
public:
  explicit TPaintDC(HWND wnd) noexcept : FWnd(wnd), FDC(BeginPaint(wnd, &FPaint)) {}
  ~TPaintDC() { EndPaint(FWnd, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC DC() const noexcept { return FDC; }
  const PAINTSTRUCT& Paint() const noexcept { return FPaint; }

private:
  HWND FWnd;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

// A device context got from a window (its whole area, or its client area), released when the
// owner goes.
template <HDC (*Get)(HWND)>
class TWindowDCOf {
public:
  explicit TWindowDCOf(HWND wnd) noexcept : FWnd(wnd), FDC(Get(wnd)) {}
  ~TWindowDCOf() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  TWindowDCOf(const TWindowDCOf&) = delete;
  TWindowDCOf& operator=(const TWindowDCOf&) = delete;
  HDC DC() const noexcept { return FDC; }
  explicit operator bool() const noexcept { return FDC != nullptr; }

private:
  HWND FWnd;
  HDC FDC;
};

namespace HandleTraits {
inline HDC WindowDCOf(HWND wnd) {
  return GetWindowDC(wnd);
}
inline HDC ClientDCOf(HWND wnd) {
  return GetDC(wnd);
}
} // namespace HandleTraits

using TWindowDC = TWindowDCOf<&HandleTraits::WindowDCOf>; // whole window, frame included
using TClientDC = TWindowDCOf<&HandleTraits::ClientDCOf>; // client area (or the screen for null)
