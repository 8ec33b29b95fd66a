#include "SkinPanels.h"

#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "ComCtrls.h"
#include "Graphics.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

namespace {
COLORREF Face(const TSkinData* data) {
  return ColorToRGB(data ? data->Colours[scButtonFace] : clBtnFace);
}

COLORREF Shadow(const TSkinData* data) {
  return ColorToRGB(data ? data->Colours[scButtonShadow] : clBtnShadow);
}

bool HasImage(const std::unique_ptr<TDataSkinObject>& element) {
  return element && !element->Image.Empty();
}

bool HasImage(const std::unique_ptr<TDataSkinBorder>& element) {
  return element && !element->Image.Empty();
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// A one-pixel frame: top and left in `topLeft`, bottom and right in `bottomRight`.
void Frame3D(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  const TPenHandle light(CreatePen(PS_SOLID, 1, topLeft));
  const TPenHandle dark(CreatePen(PS_SOLID, 1, bottomRight));
  HGDIOBJ old = SelectObject(dc, light.Get());
  Line(dc, r.left, r.bottom - 1, r.left, r.top);
  LineTo(dc, r.right - 1, r.top);
  SelectObject(dc, dark.Get());
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left - 1, r.bottom - 1);
  SelectObject(dc, old);
}

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

// A 24-bit picture the size of (w, h), its context ready to draw into.
struct TComposed {
  TBitmap Bitmap;
  TComposed(int w, int h) : Bitmap(std::max(w, 1), std::max(h, 1)) {}
  HDC DC() { return Bitmap.CanvasHandle(); }
};
} // namespace

void DrawTabText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::wstring& text,
                 UINT extraFlags) {
  SetBkMode(dc, TRANSPARENT);
  RECT measured = rect;
  DrawTextW(dc, text.c_str(), -1, &measured, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const int w = measured.right - measured.left, h = measured.bottom - measured.top;
  RECT r = rect;
  if (alignment & DT_CENTER) {
    OffsetRect(&r, (rect.right - rect.left - w) / 2, (rect.bottom - rect.top - h) / 2 - 1);
    r.left = rect.left + (rect.right - rect.left - w) / 2;
    r.right = r.left + w;
  } else {
    r.top = rect.top + (rect.bottom - rect.top - h) / 2;
    r.bottom = r.top + h;
  }
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawTextW(dc, text.c_str(), -1, &r, alignment | DT_EXPANDTABS | extraFlags);
  SetBkMode(dc, OPAQUE);
}

// ---------------------------------------------------------------------------------------------
// TSkinStatusBar

const TClassInfo& TSkinStatusBar::StaticClassInfo() {
  static const TClassInfo info{"TSkinStatusBar", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinStatusBar::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  case WM_ERASEBKGND:
    msg.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinStatusBar::DrawPanelFrame(HDC dc, const RECT& r, int cell) {
  if (HasImage(SkinData->StatusBarEdges)) {
    const TDataSkinObject& e = *SkinData->StatusBarEdges;
    DrawSkinRect(dc, r, e.Image, false, e.Tile == 1, false, 3, cell, e.Margins);
    return;
  }
  if (cell == 1)
    Frame3D(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
  else if (cell == 2)
    Frame3D(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  TPaintBuffer buffer(dc, width, height);
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  const RECT all{0, 0, width, height};
  FillFace(mem, all);
  buffer.SelectFont(Control ? Control->Font.Handle()
                            : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  COLORREF text = Control ? ColorToRGB(Control->Font.Color) : GetSysColor(COLOR_BTNTEXT);
  if (SkinData->StatusBarEdges) text = ColorToRGB(SkinData->StatusBarEdges->NormalColour2);
  SetTextColor(mem, text);
  const bool rtl = BiDiFlags(0) != 0;

  auto* bar = dynamic_cast<TCustomStatusBar*>(Control);
  const int parts = static_cast<int>(SendMessageW(Handle, SB_GETPARTS, 0, 0));
  const bool simple = SendMessageW(Handle, SB_ISSIMPLE, 0, 0) != 0 || parts <= 0 ||
                      (bar && (bar->SimplePanel() || bar->Panels().empty()));
  std::vector<std::pair<int, RECT>> ownerDrawn;
  if (simple) {
    DrawPanelFrame(mem, all, 1);
    std::wstring s = bar ? Widen(bar->SimpleText()) : ReadCaption();
    if (s.empty()) s = L" ";
    RECT r = all;
    InflateRect(&r, -2, 0);
    SetTextColor(mem, text);
    DrawTabText(mem, r, rtl ? DT_RIGHT : DT_LEFT, true, s, BiDiFlags(0));
  } else {
    for (int i = 0; i < parts; ++i) {
      RECT r{};
      if (!SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
        continue;
      r.right += 2;
      if (i == parts - 1) r.right = width;
      const LRESULT info = SendMessageW(Handle, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
      const int type = HIWORD(info);
      const int cell = (type & SBT_NOBORDERS) ? 3 : (type & SBT_POPOUT) ? 2 : 1;
      DrawPanelFrame(mem, r, cell);
      if (type & SBT_OWNERDRAW) {
        RECT inner{};
        SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&inner));
        InflateRect(&inner, -2, -2);
        ownerDrawn.emplace_back(i, inner);
        continue;
      }
      std::wstring s(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
      SendMessageW(Handle, SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
      s.resize(wcslen(s.c_str()));
      // A leading tab centres the text, two put it on the right.
      UINT align = DT_LEFT;
      if (s.rfind(L"\t\t", 0) == 0) {
        align = DT_RIGHT;
        s.erase(0, 2);
      } else if (s.rfind(L"\t", 0) == 0) {
        align = DT_CENTER;
        s.erase(0, 1);
      }
      if (rtl && align != DT_CENTER) align = align == DT_LEFT ? DT_RIGHT : DT_LEFT;
      if (s.empty()) s = L" ";
      InflateRect(&r, -2, 0);
      SetTextColor(mem, text);
      DrawTabText(mem, r, align, true, s, BiDiFlags(0));
    }
  }
  const DWORD style = static_cast<DWORD>(ReadStyle(Handle, GWL_STYLE));
  if ((style & SBARS_SIZEGRIP) && HasImage(SkinData->ExtraImages)) {
    const TDataSkinObject& e = *SkinData->ExtraImages;
    const int cw = e.CellWidth(), ch = e.Image.Height();
    const RECT grip{width - 1 - cw, height - 1 - ch, width - 1, height - 1};
    DrawSkinCell(mem, grip, e.Image, true, std::max(e.FrameCount, 1), 5);
  }
  BitBlt(dc, rect.left, rect.top, width, height, mem, 0, 0, SRCCOPY);
  if (auto* wc = dynamic_cast<TWinControl*>(Control)) wc->PaintControls(dc);
  // Owner-drawn panels are the application's: its parent draws their content as usual.
  HWND parent = GetParent(Handle);
  for (const auto& [index, inner] : ownerDrawn) {
    DRAWITEMSTRUCT di{};
    di.CtlID = static_cast<UINT>(GetDlgCtrlID(Handle));
    di.itemID = static_cast<UINT>(index);
    di.hwndItem = Handle;
    di.hDC = dc;
    di.rcItem = inner;
    di.itemData =
        static_cast<ULONG_PTR>(SendMessageW(Handle, SB_GETTEXTW, static_cast<WPARAM>(index), 0));
    if (parent) SendMessageW(parent, WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
  }
}

// ---------------------------------------------------------------------------------------------
// TSkinGroupBox

const TClassInfo& TSkinGroupBox::StaticClassInfo() {
  static const TClassInfo info{"TSkinGroupBox", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinGroupBox::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (Attached) Mode = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& msg) {
  if (!TSkinControl::BeforeMessage(msg)) return false;
  if (Mode == 1 && (msg.Msg == WM_PAINT || msg.Msg == WM_PRINTCLIENT)) {
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  }
  if (Mode == 1 && msg.Msg == WM_ERASEBKGND) {
    msg.Result = 1; // painted whole from a buffer
    return false;
  }
  return true;
}

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  Caption = ReadCaption();
  if (Caption.empty() && Control) Caption = Widen(GetPropValue(Control, "Caption"));
  TPaintBuffer buffer(dc, width, height);
  const bool whole = Mode == 1 && buffer.Ready();
  HDC target = whole ? buffer.DC() : dc;
  const int save = SaveDC(target);
  RECT r = whole ? RECT{0, 0, width, height} : rect;
  if (whole) FillFace(target, r);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (!font && Control) font = Control->Font.Handle();
  if (font) SelectObject(target, font);
  SetTextColor(target, Control ? ColorToRGB(Control->Font.Color) : GetSysColor(COLOR_BTNTEXT));
  SIZE zero{};
  GetTextExtentPoint32W(target, L"0", 1, &zero);
  const int y = r.top + std::max(static_cast<int>(zero.cy) / 2 - 1, 0);
  if (Mode == 0) {
    // Cover the system's etched frame.
    const TBrushHandle face(CreateSolidBrush(Face(SkinData)));
    RECT f{r.left, y, r.right, r.bottom};
    FrameRect(target, &f, face.Get());
    InflateRect(&f, -1, -1);
    FrameRect(target, &f, face.Get());
  }
  const TPenHandle pen(CreatePen(PS_SOLID, 1, Shadow(SkinData)));
  SelectObject(target, pen.Get());
  SelectObject(target, GetStockObject(NULL_BRUSH));
  RoundRect(target, r.left + 1, y, r.right - 1, r.bottom - 1, 5, 5);
  if (!Caption.empty()) {
    SetBkMode(target, OPAQUE);
    SetBkColor(target, Face(SkinData));
    const DWORD ex = static_cast<DWORD>(ReadStyle(Handle, GWL_EXSTYLE));
    if (ex & WS_EX_RIGHT) {
      RECT t{r.left, r.top, r.right - 8, r.bottom};
      DrawTextW(target, Caption.c_str(), -1, &t, BiDiFlags(DT_RIGHT | DT_EXPANDTABS));
    } else {
      RECT t{r.left + 8, r.top, r.right, r.bottom};
      DrawTextW(target, Caption.c_str(), -1, &t, BiDiFlags(DT_EXPANDTABS));
    }
  }
  RestoreDC(target, save);
  if (whole) {
    BitBlt(dc, rect.left, rect.top, width, height, target, 0, 0, SRCCOPY);
    if (auto* wc = dynamic_cast<TWinControl*>(Control)) wc->PaintControls(dc);
  }
}

// ---------------------------------------------------------------------------------------------
// TSkinBox

const TClassInfo& TSkinBox::StaticClassInfo() {
  static const TClassInfo info{"TSkinBox", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinBox::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached || !data) return;
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control) return;
  Recolor = recolor;
  SkinData = data;
  Form = form;
  if (auto* wc = dynamic_cast<TWinControl*>(control)) Handle = wc->WindowHandle();
  // In front of the control's messages only to answer the skin's question.
  HoldSlot(control);
  if (Form) Form->AddControl(this);
  if (Recolor) {
    SavedColor = control->Color();
    control->SetColor(data->Colours[scButtonFace]);
  }
  Attached = true;
  LifeState = 1;
}

void TTransparentSetting::Set(TControl* control) {
  if (!control || Changed()) return;
  bool found = false;
  const std::string before = GetPropValue(control, "Transparent", &found);
  if (!found || before.empty()) return;
  if (SetPropValue(control, "Transparent", "True")) FSaved = before;
}

void TTransparentSetting::Restore(TControl* control) {
  if (control && Changed() && !(control->ComponentState & csDestroying))
    SetPropValue(control, "Transparent", FSaved);
  FSaved.clear();
}

void TSkinBox::Unskin() {
  TSkinControl::Unskin();
  if (LifeState != 6) Transparent.Restore(Control);
  if (LifeState != 6) LifeState = 2;
}

// ---------------------------------------------------------------------------------------------
// TSkinBoxH

const TClassInfo& TSkinBoxH::StaticClassInfo() {
  static const TClassInfo info{"TSkinBoxH", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinBoxH::~TSkinBoxH() {
  if (FBrush) DeleteObject(FBrush);
}

HBRUSH TSkinBoxH::FaceBrush() {
  const COLORREF face = Face(SkinData);
  if (FBrush && FBrushColour != face) {
    DeleteObject(FBrush);
    FBrush = nullptr;
  }
  if (!FBrush) {
    FBrush = CreateSolidBrush(face);
    FBrushColour = face;
  }
  return FBrush;
}

bool TSkinBoxH::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_ERASEBKGND: {
    RECT r{};
    GetWindowRect(Handle, &r);
    OffsetRect(&r, -r.left, -r.top);
    if (msg.WParam) FillRect(reinterpret_cast<HDC>(msg.WParam), &r, FaceBrush());
    msg.Result = 1; // erased
    return false;
  }
  case WM_CTLCOLORSTATIC:
    CallPrevious(msg);
    msg.Result = reinterpret_cast<LRESULT>(FaceBrush());
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// TSkinProgress

const TClassInfo& TSkinProgress::StaticClassInfo() {
  static const TClassInfo info{"TSkinProgress", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

int ProgressFill(int width, int pos, int low, int high) {
  if (width <= 0 || high <= low || pos <= low) return 0;
  if (pos >= high) return width;
  const long long span = static_cast<long long>(high) - low;
  return static_cast<int>(static_cast<long long>(width) * (static_cast<long long>(pos) - low) /
                          span);
}

bool TSkinProgress::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    if (!SkinData || !HasImage(SkinData->Progress)) return TSkinControl::BeforeMessage(msg);
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  case WM_ERASEBKGND:
    if (!SkinData || !HasImage(SkinData->Progress)) return TSkinControl::BeforeMessage(msg);
    msg.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData || !HasImage(SkinData->Progress)) return;
  const TDataSkinBorder& e = *SkinData->Progress;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const bool vertical = (ReadStyle(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
  const int lw = vertical ? height : width, lh = vertical ? width : height;
  const bool chunks = e.Style == 1;
  if (chunks && !HasImage(SkinData->ProgressChunk)) return;
  TComposed buffer(lw, lh);
  HDC mem = buffer.DC();
  if (!mem) return;
  const RECT all{0, 0, lw, lh};
  FillFace(mem, all);
  DrawSkinRect(mem, all, e.Image, false, e.Tile == 1, true, chunks ? 1 : 2, 1, e.Margins);
  const int pos = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
  const int high = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, FALSE, 0));
  const int low = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, TRUE, 0));
  const int fill = ProgressFill(lw, pos, low, high);
  if (fill > 0 && !chunks) {
    const RECT filled{0, 0, fill, lh};
    DrawSkinRect(mem, filled, e.Image, false, e.Tile == 1, true, 2, 2, e.Margins);
  } else if (fill > 0) {
    TDataSkinObject& chunk = *SkinData->ProgressChunk;
    const int cw = chunk.Image.Width(), ch = chunk.Image.Height();
    if (chunk.Tile == 1) {
      const int y = (lh - ch) / 2;
      const int x0 = std::max(static_cast<int>(chunk.Margins.left), 0) + 2;
      HRGN clip = CreateRectRgn(0, 0, std::min(x0 + fill, lw), lh);
      SelectClipRgn(mem, clip);
      for (int x = 0; x <= fill && cw > 0; x += cw)
        DrawTransparent(mem, RECT{x0 + x, y, x0 + x + cw, y + ch}, chunk.Image);
      SelectClipRgn(mem, nullptr);
      DeleteObject(clip);
    } else {
      TComposed bar(fill, std::max(lh - 4, 1));
      if (HDC b = bar.DC()) {
        StretchSkinBar(b, RECT{0, 0, fill, std::max(lh - 4, 1)}, chunk.Image, false, 1, 1,
                       chunk.Margins);
        DrawTransparent(mem, RECT{2, 2, 2 + fill, 2 + std::max(lh - 4, 1)}, bar.Bitmap);
      }
    }
  }
  if (vertical) {
    buffer.Bitmap.ReleaseCanvas();
    ImgUtil::RotateLeft(buffer.Bitmap);
    mem = buffer.DC();
    if (!mem) return;
  }
  BitBlt(dc, rect.left, rect.top, width, height, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// TSkinTrackBar

const TClassInfo& TSkinTrackBar::StaticClassInfo() {
  static const TClassInfo info{"TSkinTrackBar", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinTrackBar::BeforeMessage(TMessage& msg) {
  if ((msg.Msg == WM_NOTIFY || msg.Msg == CN_NOTIFY) && msg.LParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(msg.LParam);
    // Only the bar's own notices: its tooltip sends custom-draw notices of its own.
    if (header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == Handle) {
      msg.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(msg.LParam));
      return false;
    }
    return true;
  }
  return TSkinControl::BeforeMessage(msg);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& cd) {
  if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (cd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  try {
    switch (cd.dwItemSpec) {
    case TBCD_THUMB:
      DrawThumb(cd.hdc);
      return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
      DrawChannel(cd.hdc);
      return CDRF_SKIPDEFAULT;
    }
  } catch (...) {
  }
  return CDRF_DODEFAULT;
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!IsWindow(Handle) || !SkinData) return;
  RECT r{};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  const bool vertical = (ReadStyle(Handle, GWL_STYLE) & TBS_VERT) != 0;
  const TDataSkinObject* image = nullptr;
  if (vertical && HasImage(SkinData->TrackbarThumbVert))
    image = SkinData->TrackbarThumbVert.get();
  else if (HasImage(SkinData->TrackbarThumbHorz))
    image = SkinData->TrackbarThumbHorz.get();
  if (image) {
    DrawSkinCell(dc, r, image->Image, true, 5, 2);
    return;
  }
  const TPenHandle pen(CreatePen(PS_SOLID, 1, Shadow(SkinData)));
  HGDIOBJ old = SelectObject(dc, pen.Get());
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, old);
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  if (!IsWindow(Handle) || !SkinData) return;
  RECT c{};
  SendMessageW(Handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  const bool vertical = (ReadStyle(Handle, GWL_STYLE) & TBS_VERT) != 0;
  if (vertical && HasImage(SkinData->TrackVert)) {
    // Some systems report a vertical channel lying down (wider than high): stand it up.
    if (c.right - c.left > c.bottom - c.top) c = RECT{c.top, c.left, c.bottom, c.right};
    TDataSkinObject& e = *SkinData->TrackVert;
    HDC src = e.Image.CanvasHandle();
    if (!src) return;
    const int w = e.Image.Width(), h = e.Image.Height();
    const int top = std::clamp(static_cast<int>(e.Margins.top), 0, h);
    const int bottom = std::clamp(static_cast<int>(e.Margins.bottom), 0, h - top);
    const int x = c.left + (w < c.right - c.left ? (c.right - c.left - w) / 2 : 0);
    const int middle = std::max(static_cast<int>(c.bottom - c.top) - top - bottom, 0);
    SetStretchBltMode(dc, COLORONCOLOR);
    BitBlt(dc, x, c.top, w, top, src, 0, 0, SRCCOPY);
    StretchBlt(dc, x, c.top + top, w, middle, src, 0, top, w, h - top - bottom, SRCCOPY);
    BitBlt(dc, x, c.bottom - bottom, w, bottom, src, 0, h - bottom, SRCCOPY);
    return;
  }
  if (!HasImage(SkinData->Track)) return;
  TDataSkinObject& e = *SkinData->Track;
  HDC src = e.Image.CanvasHandle();
  if (!src) return;
  const int w = e.Image.Width(), h = e.Image.Height();
  const int left = std::clamp(static_cast<int>(e.Margins.left), 0, w);
  const int right = std::clamp(static_cast<int>(e.Margins.right), 0, w - left);
  const int y = c.top + (h < c.bottom - c.top ? (c.bottom - c.top - h) / 2 : 0);
  const int middle = std::max(static_cast<int>(c.right - c.left) - left - right, 0);
  SetStretchBltMode(dc, COLORONCOLOR);
  BitBlt(dc, c.left, y, left, h, src, 0, 0, SRCCOPY);
  StretchBlt(dc, c.left + left, y, middle, h, src, left, 0, w - left - right, h, SRCCOPY);
  BitBlt(dc, c.right - right, y, right, h, src, w - right, 0, SRCCOPY);
}

void TSkinTrackBar::Unskin() {
  TSkinControl::Unskin();
  if (LifeState != 6) Transparent.Restore(Control);
}

void TSkinTrackBar::RefreshSkin() {
  TSkinControl::RefreshSkin();
  // A full repaint runs the custom-draw cycle with the new images.
  RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
