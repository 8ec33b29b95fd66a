#include "SkinScrollBar.h"

#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Graphics.h"
#include "Messages.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

SCROLLINFO ScrollInfoFor(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return info;
}

POINT LParamPoint(LPARAM l) {
  return POINT{GET_X_LPARAM_(l), GET_Y_LPARAM_(l)};
}

LPARAM PointLParam(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)),
                    static_cast<WORD>(static_cast<SHORT>(p.y)));
}

// Cells of the "Scrollbar" strip (from 1): normal, pressed, hot of the first and second arrow
// and of the grip, per orientation.
struct TArrowCells {
  int First, Second, Grip;
};
constexpr TArrowCells kHorzCells{1, 5, 17}, kVertCells{9, 13, 20};
constexpr int kScrollbarCells = 23;

void DrawElementRect(HDC dc, const RECT& r, const TDataSkinObject* e, int cells, int cell,
                     bool tile) {
  if (!e || e->Image.Empty() || r.right <= r.left || r.bottom <= r.top) return;
  DrawSkinRect(dc, r, e->Image, false, tile, e->Trans == 1, cells, cell, e->Margins);
}

// The rectangle from `from` to `to` along the bar, `thick` across it.
RECT Along(bool vertical, int from, int to, int thick) {
  return vertical ? RECT{0, from, thick, to} : RECT{from, 0, to, thick};
}

const wchar_t kOverlayClass[] = L"TWScrollbar";

void RegisterOverlayClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW; // replaced per window
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kOverlayClass;
  done = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void FillWith(HDC dc, const RECT& r, TSkinData* data) {
  if (data && data->ButtonFaceBrush()) {
    FillRect(dc, &r, data->ButtonFaceBrush());
    return;
  }
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

// The client area's top-left in window coordinates.
POINT ClientOrigin(HWND wnd) {
  RECT w{};
  GetWindowRect(wnd, &w);
  POINT o{0, 0};
  ClientToScreen(wnd, &o);
  return POINT{o.x - w.left, o.y - w.top};
}

// The square between two shown bars, in window coordinates.
void FillCorner(HDC dc, HWND wnd, const TWScrollbar* h, const TWScrollbar* v, TSkinData* data) {
  if (!h || !v || !h->Shown || !v->Shown) return;
  const POINT o = ClientOrigin(wnd);
  RECT r{v->BarRect.left, h->BarRect.top, v->BarRect.right, h->BarRect.bottom};
  OffsetRect(&r, o.x, o.y);
  FillWith(dc, r, data);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Geometry

int ScrollHitTest(int at, int length, int arrowSize, int thumbStart, int thumbEnd) {
  if (at < arrowSize) return 0;
  if (at < thumbStart) return 2;
  if (at < thumbEnd) return 5;
  if (at < length - arrowSize) return 3;
  return 1;
}

void ControlThumb(int length, int a, const SCROLLINFO& info, int& start, int& end) {
  const int range = info.nMax == info.nMin ? 9999999 : info.nMax - info.nMin;
  const int atMin = info.nPos == info.nMin;
  int size = 0;
  if (info.nPage > 0) {
    size = MulDiv(length - 2 * a, static_cast<int>(info.nPage) - 1, range);
    if (size > 7) {
      start = atMin ? a : a + MulDiv(length - 2 * a, info.nPos - info.nMin, range);
    } else {
      size = 8;
      start = atMin ? a : a + MulDiv(length - 2 * a - 8, info.nPos - info.nMin, range);
    }
  } else {
    size = a;
    start = atMin ? a : a + MulDiv(length - 3 * a, info.nPos - info.nMin, range);
  }
  end = start + size;
}

int DragPosition(int n, int track, int thumb, const SCROLLINFO& info) {
  n = std::max(n, 0);
  const int page = static_cast<int>(info.nPage);
  int pos = 0;
  if (page > 0) {
    const int d = track - thumb;
    if (d <= 0) return info.nMin;
    if (n > d) n = d + 1;
    pos = info.nMin + MulDiv(n, info.nMax - info.nMin - page, d);
    if (pos >= info.nMax - page) pos = info.nMax - page + 1;
  } else {
    if (track <= 0) return info.nMin;
    pos = info.nMin + MulDiv(std::min(n, track - thumb), info.nMax - info.nMin, track);
    pos = std::min(pos, info.nMax);
  }
  return std::max(pos, info.nMin);
}

bool IsChildListWindow(HWND list) {
  if (!IsWindow(list)) return false;
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  return !(style & WS_POPUP) && GetParent(list) != GetDesktopWindow() && (style & WS_CHILD);
}

// ---------------------------------------------------------------------------------------------
// The picture

bool PaintScrollPicture(HDC dc, int x, int y, const TSkinContent& skin, const TScrollPicture& p) {
  const TDataSkinObject* strip = skin.Scrollbar.get();
  if (!strip || strip->Image.Empty() || p.Width <= 0 || p.Height <= 0) return false;
  const bool v = p.Vertical;
  const int length = v ? p.Height : p.Width;
  const int a = p.ArrowSize;
  int t = strip->Image.Height();
  if (std::abs(t - a) > 2) t = a;
  const int w = p.Thin ? (v ? t : p.Width) : p.Width;
  const int h = p.Thin ? (v ? p.Height : t) : p.Height;
  TPaintBuffer buffer(dc, w, h);
  if (!buffer.Ready()) return false;
  HDC mem = buffer.DC();
  SetStretchBltMode(mem, COLORONCOLOR);
  const RECT all{0, 0, w, h};
  if (skin.ButtonFaceBrush()) {
    FillRect(mem, &all, skin.ButtonFaceBrush());
  } else {
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(mem, &all, brush);
    DeleteObject(brush);
  }

  const TDataSkinObject* track = v ? skin.VertScroll.get() : skin.HorzScroll.get();
  if (track)
    DrawElementRect(mem, Along(v, a, length - a, t), track, 4, p.Enabled ? 1 : 3, track->Tile == 1);

  const TArrowCells cells = v ? kVertCells : kHorzCells;
  const int arrow = length < 2 * a ? length / 2 : a;
  auto arrowCell = [&](int base, int part) {
    if (p.HotPart != part) return base;
    return p.Pressed ? base + 1 : base + 3;
  };
  DrawSkinCell(mem, Along(v, 0, arrow, t), strip->Image, true, kScrollbarCells,
               arrowCell(cells.First, 0));
  DrawSkinCell(mem, Along(v, length - arrow, length, t), strip->Image, true, kScrollbarCells,
               arrowCell(cells.Second, 1));

  const bool inside = p.ThumbStart >= 0 && p.ThumbEnd <= length && p.ThumbEnd > p.ThumbStart;
  if (p.Enabled && inside) {
    const bool thumbHot = p.HotPart == 5;
    const TDataSkinObject* thumb = v ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get();
    if (thumb) {
      const int cell = thumbHot ? (p.Pressed ? 2 : 3) : 1;
      DrawElementRect(mem, Along(v, p.ThumbStart, p.ThumbEnd, t), thumb,
                      std::max(thumb->FrameCount, 1), cell, false);
    }
    // The grip, when the thumb is long enough to hold it with a pixel to spare at each end.
    const int g = strip->Image.Height();
    const int size = p.ThumbEnd - p.ThumbStart;
    if (size >= g + 2) {
      const int from = p.ThumbStart + (size - g) / 2;
      const int cell = cells.Grip + (thumbHot ? (p.Pressed ? 1 : 2) : 0);
      if (from >= 0 && from + g <= length)
        DrawSkinCell(mem, Along(v, from, from + g, t), strip->Image, true, kScrollbarCells, cell);
    }
  }
  BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
  return true;
}

// ---------------------------------------------------------------------------------------------
// TWScrollbar

TWScrollbar::TWScrollbar(TSkinControl* skinner) : Skinner(skinner) {
  ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
}

TWScrollbar::~TWScrollbar() {
  if (FWnd) {
    SetWindowLongPtrW(FWnd, GWLP_USERDATA, 0);
    DestroyWindow(FWnd);
  }
}

void TWScrollbar::Create(HWND parent) {
  if (FWnd || !parent) return;
  RegisterOverlayClass();
  FWnd = CreateWindowExW(WS_EX_TOOLWINDOW, kOverlayClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!FWnd) return;
  SetWindowLongPtrW(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWScrollbar::WndProc));
}

void TWScrollbar::AttachControl(TControl* host, int kind) {
  auto* wc = dynamic_cast<TWinControl*>(host);
  if (!wc || !wc->HandleAllocated()) return;
  HostControl = host;
  FHost = wc->WindowHandle();
  Kind = kind;
  Orientation = kind == 2 ? (Lower(GetPropValue(host, "Kind")) == "sbhorizontal" ? 0 : 1) : kind;
  Create(GetParent(FHost));
  Place();
}

void TWScrollbar::AttachWindow(HWND host, int kind) {
  if (!IsWindow(host)) return;
  FHost = host;
  Kind = kind == 1 ? 1 : 0;
  Orientation = Kind;
  Create(GetParent(FHost));
  Place();
}

bool TWScrollbar::ReadBar(RECT& bar, DWORD& state) {
  if (!IsWindow(FHost)) return false;
  state = 0;
  if (Kind == 2) {
    RECT r{};
    if (!GetWindowRect(FHost, &r)) return false;
    MapWindowPoints(nullptr, GetParent(FHost), reinterpret_cast<POINT*>(&r), 2);
    bar = r;
    Length = Orientation ? r.bottom - r.top : r.right - r.left;
    SCROLLINFO info = ScrollInfoFor(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS);
    if (!GetScrollInfo(FHost, SB_CTL, &info)) return false;
    ControlThumb(Length, ArrowSize, info, ThumbStart, ThumbEnd);
    return true;
  }
  auto read = SkinUser32().GetScrollBarInfo;
  if (!read) return false;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!read(FHost, Kind == 1 ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
  bar = info.rcScrollBar;
  ThumbStart = info.xyThumbTop;
  ThumbEnd = info.xyThumbBottom;
  state = info.rgstate[0];
  Length = Orientation ? bar.bottom - bar.top : bar.right - bar.left;
  return true;
}

void TWScrollbar::Place() {
  if (!FWnd) return;
  RECT bar{};
  DWORD state = 0;
  if (!ReadBar(bar, state)) return;
  const bool visible = (GetWindowLongPtrW(FHost, GWL_STYLE) & WS_VISIBLE) != 0;
  if (!visible || (state & STATE_SYSTEM_INVISIBLE) || bar.right <= bar.left ||
      bar.bottom <= bar.top) {
    Hide();
    return;
  }
  POINT pos{bar.left, bar.top};
  if (Kind == 2) {
    BarRect = RECT{0, 0, bar.right - bar.left, bar.bottom - bar.top};
  } else {
    BarRect = bar;
    MapWindowPoints(nullptr, FHost, reinterpret_cast<POINT*>(&BarRect), 2);
    ScreenToClient(GetParent(FWnd), &pos);
  }
  Shown = true;
  HWND before = GetWindow(FHost, GW_HWNDPREV);
  if (before == FWnd) before = GetWindow(FWnd, GW_HWNDPREV);
  SetWindowPos(FWnd, before ? before : HWND_TOP, pos.x, pos.y, bar.right - bar.left,
               bar.bottom - bar.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(FWnd, nullptr, FALSE);
}

void TWScrollbar::Hide() {
  if (FWnd) ShowWindow(FWnd, SW_HIDE);
  Shown = false;
}

void TWScrollbar::Repaint() {
  if (!FWnd || !Shown) return;
  InvalidateRect(FWnd, nullptr, FALSE);
  UpdateWindow(FWnd);
}

void TWScrollbar::SetEnabled(bool enabled) {
  if (FWnd) EnableWindow(FWnd, enabled);
  Repaint();
}

LRESULT CALLBACK TWScrollbar::WndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<TWScrollbar*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(wnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) {
    // Destroyed with its parent: the object lives on without a window.
    self->FWnd = nullptr;
    self->Shown = false;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    return DefWindowProcW(wnd, msg, wparam, lparam);
  }
  try {
    return self->Handle(msg, wparam, lparam);
  } catch (...) {
    return 0;
  }
}

int TWScrollbar::HitAt(LPARAM lparam) const {
  const POINT p = LParamPoint(lparam);
  return ScrollHitTest(Orientation ? p.y : p.x, Length, ArrowSize, ThumbStart, ThumbEnd);
}

LRESULT TWScrollbar::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(FWnd, &ps);
    if (dc) {
      try {
        Paint(dc);
      } catch (...) {
      }
      EndPaint(FWnd, &ps);
    }
    return 0;
  }
  case WM_MOUSEMOVE: {
    const int hit = HitAt(lparam);
    if (hit != HotPart && !Pressed) {
      HotPart = hit;
      Repaint();
    }
    if (auto track = SkinUser32().TrackMouseEvent) {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FWnd, 0};
      track(&t);
    }
    return 0;
  }
  case WM_MOUSELEAVE:
    if (!Pressed) {
      HotPart = -1;
      Repaint();
    }
    return 0;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    Press(lparam);
    return 0;
  case WM_LBUTTONUP:
    Release(lparam);
    return 0;
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  }
  return DefWindowProcW(FWnd, msg, wparam, lparam);
}

void TWScrollbar::Press(LPARAM lparam) {
  POINT screen = LParamPoint(lparam);
  ClientToScreen(FWnd, &screen);
  PressPoint = screen;
  RECT bar{};
  DWORD state = 0;
  if (!ReadBar(bar, state)) return;
  ThumbStartAtPress = ThumbStart;
  HotPart = HitAt(lparam);
  LPARAM at = lparam;
  if (Kind != 2) {
    BarOrigin = POINT{bar.left, bar.top};
    at = PointLParam(screen);
  }
  Pressed = true;
  Repaint();
  ReleaseCapture();
  HWND host = FHost;
  if (Kind == 2)
    SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, at);
  else
    SendMessageW(host, WM_NCLBUTTONDOWN, Kind == 1 ? HTVSCROLL : HTHSCROLL, at);
  // The host's own tracking ran until the button was released.
  if (!FWnd) return;
  Pressed = false;
  if (GetCapture() == FWnd) ReleaseCapture();
  Repaint();
}

void TWScrollbar::Release(LPARAM lparam) {
  Pressed = false;
  if (GetCapture() == FWnd) ReleaseCapture();
  if (Kind == 2) {
    PostMessageW(FHost, WM_LBUTTONUP, MK_LBUTTON, lparam);
    Repaint();
    return;
  }
  POINT screen = LParamPoint(lparam);
  ClientToScreen(FWnd, &screen);
  PostMessageW(FHost, WM_NCLBUTTONUP, Kind == 1 ? HTVSCROLL : HTHSCROLL, PointLParam(screen));
}

void TWScrollbar::Paint(HDC dc) {
  if (!Skinner || !Skinner->SkinData) return;
  const TSkinData& skin = *Skinner->SkinData;
  if (!skin.Scrollbar || skin.Scrollbar->Image.Empty()) return;
  RECT bar{};
  DWORD state = 0;
  if (!ReadBar(bar, state) || (state & STATE_SYSTEM_INVISIBLE)) return;
  RECT own{};
  GetClientRect(FWnd, &own);
  const RECT r{0, 0, bar.right - bar.left, bar.bottom - bar.top};
  if (r.right < 0 || r.bottom < 0 || r.right > own.right || r.bottom > own.bottom) return;
  TScrollPicture p;
  p.Width = r.right;
  p.Height = r.bottom;
  p.Vertical = Orientation == 1;
  p.Thin = Kind == 2;
  p.ArrowSize = ArrowSize;
  p.Enabled = !(state & STATE_SYSTEM_UNAVAILABLE) && IsWindowEnabled(FHost);
  p.HotPart = HotPart;
  p.Pressed = Pressed;
  Length = p.Vertical ? r.bottom : r.right;
  if (Pressed && HotPart == 5 && Kind != 2) {
    POINT q{};
    GetCursorPos(&q);
    const int moved = Orientation ? q.y - PressPoint.y : q.x - PressPoint.x;
    const int size = ThumbEnd - ThumbStart;
    const int start =
        std::max(ArrowSize, std::min(ThumbStartAtPress + moved, Length - ArrowSize - size));
    ThumbStart = start;
    ThumbEnd = start + size;
  }
  p.ThumbStart = ThumbStart;
  p.ThumbEnd = ThumbEnd;
  PaintScrollPicture(dc, 0, 0, skin, p);
}

// ---------------------------------------------------------------------------------------------
// TSkinScrollbar

const TClassInfo& TSkinScrollbar::StaticClassInfo() {
  static const TClassInfo info{"TSkinScrollbar", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (!Attached) return;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  PlatformNT = GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
               version.dwMajorVersion > 4 && version.dwMinorVersion > 0;
#pragma GCC diagnostic pop
  OwnsBorder = Lower(GetPropValue(Control, "BorderStyle")) != "bsnone" &&
               !Control->InheritsFrom("TImageScrollBox") && !SingleBar;
  if (IsPublishedProp(Control, "FixedColor") && GetOrdProp(Control, "FixedColor") != -1) {
    SavedColor = static_cast<TColor>(GetOrdProp(Control, "FixedColor"));
    FFixedReplaced = true;
    SetPropValue(Control, "FixedColor", std::to_string(data->Colours[scButtonFace]));
  }
  HorzBar = std::make_unique<TWScrollbar>(this);
  VertBar = std::make_unique<TWScrollbar>(this);
  HorzBar->AttachControl(Control, 0);
  VertBar->AttachControl(Control, 1);
  const bool enabled = IsWindowEnabled(Handle) != FALSE;
  HorzBar->SetEnabled(enabled);
  VertBar->SetEnabled(enabled);
  if (!Control->Visible()) {
    HorzBar->Hide();
    VertBar->Hide();
  }
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::Unskin() {
  if (!Active) return;
  if (FFixedReplaced && LifeState != 6 && Control && !(Control->ComponentState & csDestroying))
    SetPropValue(Control, "FixedColor", std::to_string(SavedColor));
  FFixedReplaced = false;
  TSkinControl::Unskin();
  if (LifeState != 6) {
    HorzBar.reset();
    VertBar.reset();
    if (IsWindow(Handle))
      RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

void TSkinScrollbar::RefreshSkin() {
  // The colour kept at attach stays the one given back: only the skinned colour changes.
  if (FFixedReplaced && Control && SkinData)
    SetPropValue(Control, "FixedColor", std::to_string(SkinData->Colours[scButtonFace]));
  if (HorzBar) HorzBar->Repaint();
  if (VertBar) VertBar->Repaint();
  if (IsWindow(Handle)) RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TSkinScrollbar::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_NCPAINT:
    CallPrevious(msg);
    PaintNow(nullptr);
    return false;
  case WM_DESTROY:
  case WM_NCDESTROY:
    // The overlays live in the parent: they must not outlast the bars they cover on screen.
    if (HorzBar) HorzBar->Hide();
    if (VertBar) VertBar->Hide();
    break;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinScrollbar::FollowScrollInfo() {
  TWScrollbar* bars[2] = {HorzBar.get(), VertBar.get()};
  for (int i = 0; i < 2; ++i) {
    if (!bars[i] || !bars[i]->Shown) continue;
    SCROLLINFO info = ScrollInfoFor(SIF_ALL);
    if (!GetScrollInfo(Handle, i ? SB_VERT : SB_HORZ, &info)) continue;
    SCROLLINFO& last = FLastInfo[i];
    if (info.nPos == last.nPos && info.nPage == last.nPage && info.nMin == last.nMin &&
        info.nMax == last.nMax && info.nTrackPos == last.nTrackPos)
      continue;
    last = info;
    bars[i]->Repaint();
  }
}

void TSkinScrollbar::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
    if (HorzBar) HorzBar->Place();
    if (VertBar) VertBar->Place();
    return;
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (TWScrollbar* bar = msg.Msg == WM_HSCROLL ? HorzBar.get() : VertBar.get()) {
      bar->HotPart = LOWORD(msg.WParam);
      bar->Repaint();
    }
    FollowScrollInfo();
    return;
  case WM_MOUSEWHEEL:
    if (HorzBar && HorzBar->Shown) HorzBar->Repaint();
    if (VertBar && VertBar->Shown) VertBar->Repaint();
    return;
  case CM_VISIBLECHANGED:
    for (TWScrollbar* bar : {HorzBar.get(), VertBar.get()})
      if (bar) msg.WParam ? bar->Place() : bar->Hide();
    return;
  case CM_ENABLEDCHANGED: {
    const bool enabled = IsWindowEnabled(Handle) != FALSE;
    if (HorzBar) HorzBar->SetEnabled(enabled);
    if (VertBar) VertBar->SetEnabled(enabled);
    return;
  }
  case CM_RECREATEWND:
    if (Form && IsWindow(Form->Handle()))
      PostMessageW(Form->Handle(), SKM_RESKINSCROLL, reinterpret_cast<WPARAM>(Handle), 0);
    return;
  case SKM_PAINTFRAME:
    if (msg.LParam == SKM_SKINNED_MAGIC) {
      if (msg.WParam) {
        RECT r{};
        GetWindowRect(Handle, &r);
        OffsetRect(&r, -r.left, -r.top);
        try {
          PaintFrame(reinterpret_cast<HDC>(msg.WParam), r);
        } catch (...) {
        }
      }
      msg.Result = SKM_SKINNED_MAGIC;
      return;
    }
    break;
  case WM_PAINT:
    // The frame is non-client: it is painted with the non-client area, not over the client.
    FollowScrollInfo();
    return;
  }
  TSkinControl::AfterMessage(msg);
  if (msg.Msg != WM_NCHITTEST && msg.Msg != WM_SETCURSOR) FollowScrollInfo();
}

void TSkinScrollbar::PaintFrame(HDC dc, const RECT& rect) {
  if (!SkinData || !OwnsBorder) return;
  RECT r = rect;
  FrameWith(dc, r, ColorToRGB(SkinData->Colours[scButtonShadow]));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, ColorToRGB(SkinData->Colours[scButtonFace]));
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT& rect) {
  const LONG style = ReadStyle(Handle, GWL_STYLE);
  if (VertBar) {
    if (VertBar->Shown)
      VertBar->Repaint();
    else if (style & WS_VSCROLL)
      VertBar->Place();
  }
  if (HorzBar) {
    if (HorzBar->Shown)
      HorzBar->Repaint();
    else if (style & WS_HSCROLL)
      HorzBar->Place();
  }
  PaintFrame(dc, rect);
  FillCorner(dc, Handle, HorzBar.get(), VertBar.get(), SkinData);
}

// ---------------------------------------------------------------------------------------------
// TSkinScrollbarH

const TClassInfo& TSkinScrollbarH::StaticClassInfo() {
  static const TClassInfo info{"TSkinScrollbarH", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) {
  if (Attached) return;
  TSkinControl::AttachHandle(wnd, data, form);
  if (!Attached) return;
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (!(style & WS_CLIPSIBLINGS)) {
    SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_CLIPSIBLINGS);
    FAddedClip = true;
  }
  HorzBar = std::make_unique<TWScrollbar>(this);
  VertBar = std::make_unique<TWScrollbar>(this);
  HorzBar->AttachWindow(wnd, 0);
  VertBar->AttachWindow(wnd, 1);
}

void TSkinScrollbarH::Unskin() {
  if (!Active) return;
  TSkinControl::Unskin();
  if (LifeState == 6) return;
  HorzBar.reset();
  VertBar.reset();
  if (FAddedClip && IsWindow(Handle)) {
    SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) & ~WS_CLIPSIBLINGS);
    RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
  FAddedClip = false;
}

bool TSkinScrollbarH::BeforeMessage(TMessage& msg) {
  if (msg.Msg == WM_DESTROY || msg.Msg == WM_NCDESTROY) {
    if (HorzBar) HorzBar->Hide();
    if (VertBar) VertBar->Hide();
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinScrollbarH::AfterMessage(TMessage& msg) {
  if (VertBar && !IsWindowVisible(Handle)) VertBar->Hide();
  switch (msg.Msg) {
  case WM_SIZE:
  case WM_NCPAINT:
  case WM_WINDOWPOSCHANGED:
    if (HorzBar) HorzBar->Place();
    if (VertBar) VertBar->Place();
    PaintNow(nullptr);
    return;
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (TWScrollbar* bar = msg.Msg == WM_HSCROLL ? HorzBar.get() : VertBar.get()) {
      bar->HotPart = LOWORD(msg.WParam);
      bar->Repaint();
    }
    return;
  case WM_KEYDOWN:
  case WM_MOUSEWHEEL:
    if (HorzBar) HorzBar->Repaint();
    if (VertBar) VertBar->Repaint();
    return;
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinScrollbarH::DrawSkin(HDC dc, const RECT&) {
  if (HorzBar && HorzBar->Shown) HorzBar->Repaint();
  if (VertBar && VertBar->Shown) VertBar->Repaint();
  FillCorner(dc, Handle, HorzBar.get(), VertBar.get(), SkinData);
}

// ---------------------------------------------------------------------------------------------
// TSkinScControl

const TClassInfo& TSkinScControl::StaticClassInfo() {
  static const TClassInfo info{"TSkinScControl", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (!Attached) return;
  Overlay = std::make_unique<TWScrollbar>(this);
  Overlay->AttachControl(Control, 2);
  if (!Control->Visible()) Overlay->Hide();
}

void TSkinScControl::Unskin() {
  if (!Active) return;
  TSkinControl::Unskin();
  if (LifeState != 6) Overlay.reset();
}

bool TSkinScControl::BeforeMessage(TMessage& msg) {
  if ((msg.Msg == WM_DESTROY || msg.Msg == WM_NCDESTROY) && Overlay) Overlay->Hide();
  return TSkinControl::BeforeMessage(msg);
}

void TSkinScControl::AfterMessage(TMessage& msg) {
  if (!Overlay) return TSkinControl::AfterMessage(msg);
  switch (msg.Msg) {
  case WM_WINDOWPOSCHANGED:
  case WM_NCPAINT:
    Overlay->Place();
    return;
  case SBM_SETSCROLLINFO:
  case SBM_SETPOS:
  case SBM_SETRANGE:
  case CN_VSCROLL:
  case CN_HSCROLL:
    Overlay->Repaint();
    return;
  case CM_VISIBLECHANGED:
    msg.WParam ? Overlay->Place() : Overlay->Hide();
    return;
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinScControl::DrawSkin(HDC, const RECT&) {
  if (Overlay) Overlay->Repaint();
}

// ---------------------------------------------------------------------------------------------
// TSkinSizer

const TClassInfo& TSkinSizer::StaticClassInfo() {
  static const TClassInfo info{"TSkinSizer", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  FillFace(dc, rect);
}

// ---------------------------------------------------------------------------------------------
// TComboxScrollBar

const TClassInfo& TComboxScrollBar::StaticClassInfo() {
  static const TClassInfo info{"TComboxScrollBar", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TComboxScrollBar::TComboxScrollBar(TComponent* owner) : TSkinControl(owner) {
  ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
}

bool TComboxScrollBar::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_NCMOUSEMOVE:
    if (msg.WParam == HTHSCROLL || msg.WParam == HTVSCROLL) {
      msg.Result = 0;
      return false;
    }
    return true;
  case WM_NCLBUTTONDOWN:
    if (msg.WParam == HTVSCROLL && DragThumb(LParamPoint(msg.LParam))) {
      msg.Result = 0;
      return false;
    }
    return true;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TComboxScrollBar::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_NCPAINT:
  case WM_HSCROLL:
  case WM_VSCROLL:
  case 0x01AE:
  case WM_SHOWWINDOW:
  case WM_WINDOWPOSCHANGED:
    PaintNow(nullptr);
    return;
  case WM_PAINT:
    return; // the bar is non-client: client painting leaves it alone
  }
  TSkinControl::AfterMessage(msg);
  // The list moved its bar without a scroll message (selection, keys, wheel): the platform
  // drew its own bar again.
  SCROLLINFO info = ScrollInfoFor(SIF_ALL);
  if (msg.Msg != WM_NCHITTEST && IsWindowVisible(Handle) && GetScrollInfo(Handle, SB_VERT, &info) &&
      (info.nPos != FLastInfo.nPos || info.nPage != FLastInfo.nPage ||
       info.nMax != FLastInfo.nMax || info.nMin != FLastInfo.nMin)) {
    FLastInfo = info;
    PaintNow(nullptr);
  }
}

void TComboxScrollBar::DrawSkin(HDC dc, const RECT&) {
  if (!SkinData) return;
  auto read = SkinUser32().GetScrollBarInfo;
  if (!read) return;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!read(Handle, OBJID_VSCROLL, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  RECT window{};
  if (!GetWindowRect(Handle, &window)) return;
  const RECT& bar = info.rcScrollBar;
  if (bar.right <= bar.left || bar.bottom <= bar.top) return;
  // The bar's own height: a bordered list keeps its border below the bar.
  Length = bar.bottom - bar.top;
  ThumbStart = info.xyThumbTop;
  ThumbEnd = info.xyThumbBottom;
  TScrollPicture p;
  p.Width = bar.right - bar.left;
  p.Height = Length;
  p.Vertical = true;
  p.ArrowSize = ArrowSize;
  p.ThumbStart = ThumbStart;
  p.ThumbEnd = ThumbEnd;
  p.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  PaintScrollPicture(dc, bar.left - window.left, bar.top - window.top, *SkinData, p);
}

bool TComboxScrollBar::DragThumb(POINT at) {
  auto read = SkinUser32().GetScrollBarInfo;
  if (!read) return false;
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  if (!read(Handle, OBJID_VSCROLL, &bar)) return false;
  const int along = at.y - bar.rcScrollBar.top;
  if (along < bar.xyThumbTop || along > bar.xyThumbBottom) return false;
  ThumbStart = bar.xyThumbTop;
  ThumbEnd = bar.xyThumbBottom;

  HWND list = Handle;
  SetCapture(list);
  // Movement is measured from the press itself: the pointer may have moved on already.
  const POINT start = at;
  SCROLLINFO info = ScrollInfoFor(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS);
  GetScrollInfo(list, SB_VERT, &info);
  const int base = ThumbStart - ArrowSize;
  const int track = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * ArrowSize;
  const int thumb = ThumbEnd - ThumbStart;
  int last = info.nPos;

  // Waits for each message; ends on the button's release, when the capture is taken away or
  // the list goes, and hands a quit request back to the thread's own loop.
  for (;;) {
    if (!IsWindow(list) || GetCapture() != list) break;
    MSG m{};
    if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (m.message == WM_NCMOUSEMOVE || m.message == WM_MOUSEMOVE) {
      DispatchMessageW(&m);
      POINT q{};
      GetCursorPos(&q);
      const int pos = DragPosition(base + (q.y - start.y), track, thumb, info);
      if (pos != last && IsWindow(list)) {
        SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)), 0);
        last = pos;
      }
      continue;
    }
    if (m.message == WM_NCLBUTTONUP || m.message == WM_LBUTTONUP) {
      if (IsWindow(list)) {
        SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(last)), 0);
        PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
      }
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (IsWindow(list) && GetCapture() == list) ReleaseCapture();
  return true;
}
