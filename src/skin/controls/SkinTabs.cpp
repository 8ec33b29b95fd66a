#include "SkinTabs.h"

#include "ImgUtil.h"
#include "SkinDraw.h"
#include "SkinPanels.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "ComCtrls.h"
#include "Graphics.h"

#include <algorithm>

namespace {
bool HasTabs(const TSkinData* data) {
  return data && data->Tabs && !data->Tabs->Image.Empty();
}

// A 24-bit copy of the image (empty for an empty one).
TBitmap Copy24(const TBitmap& image) {
  TBitmap copy;
  if (image.Empty()) return copy;
  copy = image;
  copy.SetPixelFormat(pf24bit);
  return copy;
}

// The first visible up-down child (the tab scroller), or null.
HWND VisibleScroller(HWND wnd) {
  HWND child = FindWindowExA(wnd, nullptr, "msctls_updown32", nullptr);
  return child && (GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) ? child : nullptr;
}
} // namespace

void DrawImageAndText(HDC dc, const RECT& rect, int alignment, const std::wstring& text, int image,
                      HIMAGELIST images, bool enabled, UINT extraFlags) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int cx = 0, cy = 0;
  if (images) ImageList_GetIconSize(images, &cx, &cy);
  const bool icon = images && image != -1 && cx < width;
  if (!icon) cx = 0;
  RECT t = rect;
  if (icon) t.right += cx + 2;
  if (text.empty())
    t.right = t.left;
  else
    DrawTextW(dc, text.c_str(), -1, &t,
              DT_END_ELLIPSIS | DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_EXPANDTABS);
  const int tw = t.right - t.left, th = t.bottom - t.top;
  int x = 3;
  if (alignment == 1)
    x = (width - tw - cx) / 2;
  else if (alignment == 2)
    x = width - tw - cx - 2;
  if (x < 2) x = 1;
  if (icon)
    ImageList_Draw(images, image, dc, rect.left + x, rect.top + (height - cy) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  OffsetRect(&t, rect.left + x + cx - t.left, rect.top + (height - th) / 2 - t.top);
  t.left = std::max(t.left, rect.left);
  t.right = std::min(t.right, rect.right);
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawTextW(dc, text.c_str(), -1, &t, DT_END_ELLIPSIS | DT_WORDBREAK | DT_EXPANDTABS | extraFlags);
  SetBkMode(dc, OPAQUE);
}

// ---------------------------------------------------------------------------------------------
// TSkinTabBase

const TClassInfo& TSkinTabBase::StaticClassInfo() {
  static const TClassInfo info{"TSkinTabBase", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinTabBase::ReadTab(int index, std::wstring& text, int& image) const {
  if (IsUnicode) {
    wchar_t buf[81] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = buf;
    item.cchTextMax = 80;
    if (!SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&item)))
      return false;
    text = buf;
    image = item.iImage;
    return true;
  }
  char buf[81] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = buf;
  item.cchTextMax = 80;
  if (!SendMessageA(Handle, TCM_GETITEMA, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item)))
    return false;
  const int n = MultiByteToWideChar(CP_ACP, 0, buf, -1, nullptr, 0);
  text.assign(static_cast<size_t>(std::max(n, 1)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, buf, -1, text.data(), n);
  text.resize(wcslen(text.c_str()));
  image = item.iImage;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TSkinTab

const TClassInfo& TSkinTab::StaticClassInfo() {
  static const TClassInfo info{"TSkinTab", &TSkinTabBase::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinTab::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (!Attached) return;
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  auto* pages = dynamic_cast<TPageControl*>(Control);
  CloseButtons = pages && pages->Tag == kCloseBoxTag && pages->TabPosition() == tpTop;
  Prepare();
  Active = true;
  FWideText = IsWindowUnicode(Handle) != FALSE;
}

void TSkinTab::AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) {
  if (Attached) return;
  TSkinControl::AttachHandle(wnd, data, form);
  if (!Attached) return;
  Focused = GetFocus() == Handle;
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  CloseButtons = false;
  Prepare();
  FWideText = IsWindowUnicode(Handle) != FALSE;
}

void TSkinTab::RefreshSkin() {
  TSkinControl::RefreshSkin();
  Prepare();
  Redraw();
}

void TSkinTab::Prepare() {
  const DWORD style = static_cast<DWORD>(ReadStyle(Handle, GWL_STYLE));
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  Orientation = bottom ? (vertical ? 3 : 1) : (vertical ? 2 : 0);
  FTabImage = TBitmap();
  FPaneImage = TBitmap();
  if (!SkinData || !SkinData->Tabs) return;
  const TDataSkinBorder& tabs = *SkinData->Tabs;
  FTabImage = Copy24(tabs.Image);
  if (tabs.Style == 0)
    FPaneImage = Copy24(tabs.Image2);
  else if (tabs.Style == 1 && SkinData->TabPane && !SkinData->TabPane->Image.Empty())
    FPaneImage = Copy24(SkinData->TabPane->Image);
  if (Orientation == 1) {
    if (!FTabImage.Empty()) ImgUtil::FlipBitmap(FTabImage);
    if (!FPaneImage.Empty()) ImgUtil::FlipBitmap(FPaneImage);
  } else if (Orientation == 2 && !FPaneImage.Empty()) {
    ImgUtil::RotateLeft(FPaneImage);
  } else if (Orientation == 3 && !FPaneImage.Empty()) {
    ImgUtil::RotateRight(FPaneImage);
  }
}

bool TSkinTab::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  case WM_ERASEBKGND:
    msg.Result = 1; // painted whole from a buffer
    return false;
  case WM_LBUTTONDOWN: {
    if (!CloseButtons) break;
    const POINT p{static_cast<short>(LOWORD(msg.LParam)), static_cast<short>(HIWORD(msg.LParam))};
    int hit = -1;
    for (size_t i = 0; i < TabRects.size(); ++i)
      if (PtInRect(&TabRects[i], p)) hit = static_cast<int>(i);
    if (hit < 0) break;
    CloseTab(hit);
    msg.Result = 0;
    return false;
  }
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinTab::CloseTab(int index) {
  auto* pages = dynamic_cast<TPageControl*>(Control);
  if (!pages || !Form) return;
  if (SendMessageW(Form->Handle(), SKM_CLOSETAB, reinterpret_cast<WPARAM>(Handle), index) != 0)
    return; // the application keeps the page
  if (index < 0 || index >= static_cast<int>(pages->Pages().size())) return;
  // Out of the page control first, so that its tabs follow; then freed.
  TTabSheet* page = pages->Pages()[static_cast<size_t>(index)];
  page->SetParent(nullptr);
  delete page;
  TabRects.clear();
  Redraw();
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  const RECT R{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  if (R.right <= 0 || R.bottom <= 0) return;
  TPaintBuffer buffer(dc, R.right, R.bottom);
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  FillParentColor(mem, R);

  RECT P = R;
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&P));
  InflateRect(&P, 4, 4);
  switch (Orientation) {
  case 0:
    ++P.top;
    break;
  case 1:
    --P.bottom;
    break;
  case 2:
    ++P.left;
    break;
  default:
    --P.right;
    break;
  }
  // The pane.
  if (!FPaneImage.Empty() && SkinData->Tabs) {
    try {
      if (SkinData->Tabs->Style != 0 && SkinData->TabPane)
        DrawSkinRect(mem, P, FPaneImage, false, false, false, 1, 1, SkinData->TabPane->Margins);
      else
        DrawSkinRect(mem, P, FPaneImage, false, false, false, 1, 1, RECT{4, 5, 4, 4});
    } catch (...) {
    }
  }

  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  TabRects.assign(static_cast<size_t>(std::max(count, 0)), RECT{});
  if (HasTabs(SkinData) && !FTabImage.Empty()) {
    const TDataSkinBorder& tabs = *SkinData->Tabs;
    RECT S{};
    switch (Orientation) {
    case 0:
      S = {R.left, R.top, R.right, P.top};
      break;
    case 1:
      S = {R.left, P.bottom, R.right, R.bottom};
      break;
    case 2:
      S = {R.left, R.top, P.left, R.bottom};
      break;
    default:
      S = {P.right, R.top, R.right, R.bottom};
      break;
    }
    const bool side = Orientation >= 2;
    const int L = side ? S.bottom - S.top : S.right - S.left;
    const int T = side ? S.right - S.left : S.bottom - S.top;
    if (L > 0 && T > 0) {
      TBitmap strip(L, T);
      HDC sdc = strip.CanvasHandle();
      FillParentColor(sdc, RECT{0, 0, L, T});
      HFONT font = Control ? Control->Font.Handle()
                           : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
      HGDIOBJ oldFont = font ? SelectObject(sdc, font) : nullptr;
      const int current = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
      auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
      const int cells = std::max(tabs.FrameCount, 1);
      for (int i = 0; i < count; ++i) {
        RECT t{};
        if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&t)))
          continue;
        std::wstring text;
        int image = -1;
        ReadTab(i, text, image);
        const RECT w = t; // window coordinates
        switch (Orientation) {
        case 0:
          OffsetRect(&t, 0, 1);
          break;
        case 1:
          OffsetRect(&t, 0, -(P.bottom + 1));
          break;
        case 2:
          t = {L - w.bottom, w.left, L - w.top, w.right};
          break;
        default:
          t = {w.top - 1, R.right - w.right, w.bottom - 1, R.right - w.left};
          break;
        }
        const int state = i == current ? 2 : 1;
        DrawSkinRect(sdc, t, FTabImage, false, tabs.Tile == 1, tabs.Trans == 1, cells, state,
                     tabs.Margins);
        if (CloseButtons) {
          const TPenHandle pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
          HGDIOBJ oldPen = SelectObject(sdc, pen.Get());
          const RECT box{t.right - 8, t.top + 2, t.right - 2, t.top + 8};
          MoveToEx(sdc, box.left, box.top, nullptr);
          LineTo(sdc, box.right, box.top);
          LineTo(sdc, box.right, box.bottom);
          LineTo(sdc, box.left, box.bottom);
          LineTo(sdc, box.left, box.top);
          LineTo(sdc, box.right, box.bottom);
          MoveToEx(sdc, box.right, box.top, nullptr);
          LineTo(sdc, box.left, box.bottom);
          SelectObject(sdc, oldPen);
          // The strip is copied at the window's origin: window coordinates, edges included.
          TabRects[static_cast<size_t>(i)] = {box.left, box.top, box.right + 1, box.bottom + 1};
        }
        SetTextColor(sdc, ColorToRGB(state == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2));
        if (font && !side) SelectObject(sdc, font);
        DrawImageAndText(sdc, t, 1, text, image, images, Enabled, BiDiFlags(0));
      }
      if (oldFont) SelectObject(sdc, oldFont);
      if (Orientation == 3) {
        strip.ReleaseCanvas();
        ImgUtil::RotateRight(strip);
      } else if (Orientation == 2) {
        strip.ReleaseCanvas();
        ImgUtil::RotateLeft(strip);
      }
      if (HDC src = strip.CanvasHandle())
        BitBlt(mem, S.left, S.top, S.right - S.left, S.bottom - S.top, src, 0, 0, SRCCOPY);
    }
  }
  const int save = SaveDC(dc);
  if (HWND scroller = VisibleScroller(Handle)) {
    RECT s{};
    GetWindowRect(scroller, &s);
    MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&s), 2);
    ExcludeClipRect(dc, rect.left + s.left, rect.top + s.top, rect.left + s.right,
                    rect.top + s.bottom);
  }
  BitBlt(dc, rect.left, rect.top, R.right, R.bottom, mem, 0, 0, SRCCOPY);
  RestoreDC(dc, save);
  if (Mode == 2)
    if (auto* wc = dynamic_cast<TWinControl*>(Control)) wc->PaintControls(dc);
}

// ---------------------------------------------------------------------------------------------
// TSkinTabBtn

const TClassInfo& TSkinTabBtn::StaticClassInfo() {
  static const TClassInfo info{"TSkinTabBtn", &TSkinTabBase::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinTabBtn::BeforeMessage(TMessage& msg) {
  if (msg.Msg == WM_PAINT) {
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinTabBtn::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData || SkinData->Buttons.Image.Empty()) return;
  const TDataSkinButton& buttons = SkinData->Buttons;
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  RECT R{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  RECT D = R;
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&D));
  InflateRect(&D, 4, 4);
  const RECT S{R.left, R.top, R.right, std::min(D.top + 1, R.bottom)};
  if (S.right <= 0 || S.bottom <= 0) return;
  TPaintBuffer buffer(dc, S.right, S.bottom);
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  FillFace(mem, S);
  buffer.SelectFont(Control ? Control->Font.Handle()
                            : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int current = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT t{};
    if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&t)))
      continue;
    std::wstring text;
    int image = -1;
    ReadTab(i, text, image);
    OffsetRect(&t, 0, 1);
    const int state = i == current ? 2 : 1;
    DrawSkinRect(mem, t, buttons.Image, false, buttons.Tile == 1, buttons.Trans == 1,
                 std::max(buttons.FrameCount, 1), state, buttons.Margins);
    COLORREF colour = RGB(0, 0, 0);
    if (state == 1 && buttons.HasNormalColour2) colour = ColorToRGB(buttons.NormalColour2);
    if (state == 2 && buttons.HasPressedColour2) colour = ColorToRGB(buttons.PressedColour2);
    SetTextColor(mem, colour);
    DrawImageAndText(mem, t, 1, text, image, images, Enabled, BiDiFlags(0));
  }
  BitBlt(dc, rect.left, rect.top, S.right, S.bottom, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// TSkinTabSheet

const TClassInfo& TSkinTabSheet::StaticClassInfo() {
  static const TClassInfo info{"TSkinTabSheet", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinTabSheet::BeforeMessage(TMessage& msg) {
  if (!TSkinControl::BeforeMessage(msg)) return false;
  if (Mode != 0) return true;
  switch (msg.Msg) {
  case WM_PAINT:
  case WM_PRINT:
  case WM_PRINTCLIENT:
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  case WM_ERASEBKGND: {
    RECT r{};
    GetClientRect(Handle, &r);
    if (msg.WParam) FillFace(reinterpret_cast<HDC>(msg.WParam), r);
    msg.Result = 1;
    return false;
  }
  }
  return true;
}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  FillFace(dc, rect);
  if (auto* wc = dynamic_cast<TWinControl*>(Control)) wc->PaintControls(dc);
}
