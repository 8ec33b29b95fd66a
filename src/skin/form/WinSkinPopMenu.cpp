#include "WinSkinPopMenu.h"
#include "SkinDraw.h"
#include "SkinManage.h"
#include "SkinMenuPaint.h"
#include "WinSkinData.h"

namespace {

// The width of the frame drawn from the outer rows and columns of Background.
constexpr int kFrame = 3;
constexpr UINT kGetMenuHandle = 0x01E1; // MN_GETHMENU

SIZE WindowSize(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

} // namespace

const TClassInfo& TWinSkinPopMenu::StaticClassInfo() {
  static const TClassInfo info{"TWinSkinPopMenu", &TObject::StaticClassInfo(), nullptr, {}};
  return info;
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  Detach();
  RecordSkinnerEvent(skPopupFreed, FHandle, FSkinData);
}

bool TWinSkinPopMenu::Attach(HWND wnd, TSkinData* data, HMENU menu) {
  if (WindowHooked()) return false;
  if (!HookWindow(wnd)) return false;
  FHandle = wnd;
  FSkinData = data;
  FMenuHandle = menu;
  RecordSkinnerEvent(skPopupAttach, wnd, data);
  return true;
}

void TWinSkinPopMenu::Detach() {
  if (!WindowHooked()) return;
  UnhookWindow();
  Background.Clear();
  RecordSkinnerEvent(skPopupDetach, FHandle, FSkinData);
}

HMENU TWinSkinPopMenu::ResolveMenuHandle() {
  if (!FMenuHandle && FHandle && IsWindow(FHandle)) {
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(FHandle, kGetMenuHandle, 0, 0));
    if (menu && IsMenu(menu)) FMenuHandle = menu;
  }
  return FMenuHandle;
}

bool TWinSkinPopMenu::BuildBackground() {
  Background.Clear();
  const TDataSkinObject* element =
      FSkinData && FSkinData->SkinLoaded() ? FSkinData->MenuBackground.get() : nullptr;
  if (!element || element->Image.Empty() || !FHandle) return false;
  const SIZE size = WindowSize(FHandle);
  const RECT target{0, 0, size.cx, size.cy};
  Background =
      StretchSkinBitmap(target, element->Image, element->Margins, false, element->Tile != 0, 1, 1);
  return !Background.Empty();
}

bool TWinSkinPopMenu::EnsureBackground() {
  const SIZE size = WindowSize(FHandle);
  if (!Background.Empty() && Background.Width() == size.cx && Background.Height() == size.cy)
    return true;
  return BuildBackground();
}

void TWinSkinPopMenu::PaintFrame(HDC dc) {
  const SIZE size = WindowSize(FHandle);
  const int save = SaveDC(dc);
  ExcludeClipRect(dc, kFrame, kFrame, size.cx - kFrame, size.cy - kFrame);
  BitBlt(dc, 0, 0, size.cx, size.cy, Background.CanvasHandle(), 0, 0, SRCCOPY);
  RestoreDC(dc, save);
}

LRESULT TWinSkinPopMenu::NonClientPaint(WPARAM wparam, LPARAM lparam) {
  // Only a paint of the whole window (wParam 1) is taken; a region is the system's to paint.
  if (wparam != 1 || !BuildBackground()) return CallOldProc(WM_NCPAINT, wparam, lparam);
  ResolveMenuHandle();
  if (HDC dc = GetWindowDC(FHandle)) {
    BitBlt(dc, 0, 0, Background.Width(), Background.Height(), Background.CanvasHandle(), 0, 0,
           SRCCOPY);
    ReleaseDC(FHandle, dc);
  }
  return 0;
}

LRESULT TWinSkinPopMenu::PrintPaint(WPARAM wparam, LPARAM lparam) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  if (!dc || !BuildBackground()) return CallOldProc(WM_PRINT, wparam, lparam);
  ResolveMenuHandle();
  const SIZE size = WindowSize(FHandle);
  BitBlt(dc, 0, 0, size.cx, size.cy, Background.CanvasHandle(), 0, 0, SRCCOPY);
  TRegionHandle inner(CreateRectRgn(kFrame, kFrame, size.cx - kFrame, size.cy - kFrame));
  const int mode = SetBkMode(dc, TRANSPARENT);
  SelectClipRgn(dc, inner.Get());
  const LRESULT result = CallOldProc(WM_PRINT, wparam, lparam);
  SelectClipRgn(dc, nullptr);
  SetBkMode(dc, mode);
  return result;
}

LRESULT TWinSkinPopMenu::ClientPaint(WPARAM wparam, LPARAM lparam) {
  // The items are drawn over Background while the system paints; a menu window without a
  // non-client area has its frame inside the client, painted over afterwards.
  ResolveMenuHandle();
  if (!EnsureBackground()) return CallOldProc(WM_PAINT, wparam, lparam);
  const LRESULT result = CallOldProc(WM_PAINT, wparam, lparam);
  const POINT offset = MenuClientOffset(FHandle);
  if (offset.x == 0 && offset.y == 0 && IsWindow(FHandle))
    if (HDC dc = GetWindowDC(FHandle)) {
      PaintFrame(dc);
      ReleaseDC(FHandle, dc);
    }
  return result;
}

LRESULT TWinSkinPopMenu::HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == SKM_QUERY) return 1;
  TSkinManage* manager = TSkinManage::Manager();
  // A window that goes is given back whether or not the skin is on.
  if (msg == WM_NCDESTROY || (msg == WM_DESTROY && manager && manager->Active())) Detach();
  if (!manager || !manager->Active() || !FSkinData) return CallOldProc(msg, wparam, lparam);
  switch (msg) {
  case WM_ERASEBKGND:
    if (!SkinUser32().IsNT) return 0;
    if (!(FSkinData->Options() & SkinBit(xoMenuBG))) CallOldProc(msg, wparam, lparam);
    return 1;
  case WM_NCPAINT:
    return NonClientPaint(wparam, lparam);
  case WM_PRINT:
    return PrintPaint(wparam, lparam);
  case WM_PAINT:
    return ClientPaint(wparam, lparam);
  default:
    return CallOldProc(msg, wparam, lparam);
  }
}
