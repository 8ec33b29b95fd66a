#include "SkinCombo.h"

#include "SkinDraw.h"
#include "WinSkinData.h"

#include "SkinScrollBar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

TSkinControl* MakeComboListSkinner(TSkinComBox* combo, HWND list, bool simple) {
  if (!combo || !combo->SkinData || !list) return nullptr;
  TSkinControl* skinner = simple ? static_cast<TSkinControl*>(new TSkinScrollbarH(nullptr))
                                 : new TComboxScrollBar(nullptr);
  skinner->AttachHandle(list, combo->SkinData, nullptr);
  if (skinner->Attached) return skinner;
  delete skinner;
  return nullptr;
}

TComboListSkinnerFactory ComboListSkinnerFactory = MakeComboListSkinner;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

// A segment from `from` up to (not including) `to`.
void Segment(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// Selects a GDI object for as long as it lives and frees it afterwards.
struct TSelected {
  HDC DC;
  HGDIOBJ Object;
  HGDIOBJ Old;
  TSelected(HDC dc, HGDIOBJ object)
      : DC(dc), Object(object), Old(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelected() {
    if (Old) SelectObject(DC, Old);
    if (Object) DeleteObject(Object);
  }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;
};
} // namespace

void DrawArrowLines(HDC dc, int x, int y, int direction) {
  switch (direction) {
  case 0:
    Segment(dc, x, y, x, y - 1);
    Segment(dc, x + 1, y + 1, x + 4, y + 4);
    Segment(dc, x, y + 1, x + 3, y + 4);
    Segment(dc, x, y + 2, x + 2, y + 4);
    Segment(dc, x - 1, y + 1, x - 4, y + 4);
    Segment(dc, x, y + 2, x - 3, y + 4);
    Segment(dc, x, y + 1, x - 2, y + 4);
    break;
  case 1:
    Segment(dc, x, y + 3, x, y + 4);
    Segment(dc, x + 1, y + 2, x + 4, y - 1);
    Segment(dc, x, y + 2, x + 3, y - 1);
    Segment(dc, x, y + 1, x + 2, y);
    Segment(dc, x - 1, y + 2, x - 4, y - 1);
    Segment(dc, x, y + 2, x - 3, y - 1);
    Segment(dc, x, y + 1, x - 2, y);
    break;
  case 2:
  case 3: {
    const int s = direction == 2 ? 1 : -1;
    const POINT p[] = {{x, y}, {x + s, y + 2}, {x + s, y - 2}, {x - s, y}, {x + s, y + 2}};
    Polyline(dc, p, 5);
    break;
  }
  default:
    break;
  }
}

// ---------------------------------------------------------------------------------------------
// TSkinUpDown

const TClassInfo& TSkinUpDown::StaticClassInfo() {
  static const TClassInfo info{"TSkinUpDown", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinUpDown::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    PaintWithBeginPaint(msg);
    return false;
  case WM_ERASEBKGND:
    if (!Control && msg.WParam) {
      RECT r{};
      GetClientRect(Handle, &r);
      FillColor(reinterpret_cast<HDC>(msg.WParam), r, kWhite);
    }
    msg.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    CallPrevious(msg);
    MouseFlags |= mfDown;
    PaintNow(nullptr);
    return false;
  case WM_LBUTTONUP:
    MouseFlags &= static_cast<BYTE>(~mfDown);
    CallPrevious(msg);
    PaintNow(nullptr);
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

bool TSkinUpDown::IsHorizontal() const {
  return Horizontal == 1 || (ReadStyle(Handle, GWL_STYLE) & UDS_HORZ) != 0;
}

void TSkinUpDown::HalfCells(int& first, int& second) {
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  RECT client{};
  GetClientRect(Handle, &client);
  const bool horz = IsHorizontal();
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(Handle, &p);
  const int size = horz ? client.right : client.bottom;
  const int half = size / 2;
  const int at = horz ? p.x : p.y;
  const bool inside = PtInRect(&client, p) != FALSE;
  auto state = [&](bool over) {
    if (!Enabled) return 3;
    if (over && inside) {
      if (MouseFlags & mfDown) return 2;
      if (MouseFlags & mfHot) return 4;
    }
    return 1;
  };
  first = state(at >= 0 && at < half);
  second = 4 + state(at >= half && at < size);
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  RECT r = rect;
  if (InEdit) {
    RECT client{};
    GetClientRect(Handle, &client);
    FillColor(dc, client, kWhite);
    // Keep the edit's frame visible: 3 pixels from its border.
    RECT edit{}, own{};
    if (GetWindowRect(GetParent(Handle), &edit) && GetWindowRect(Handle, &own)) {
      if (own.top - edit.top < 3) r.top += 3 - (own.top - edit.top);
      if (edit.bottom - own.bottom < 3) r.bottom -= 3 - (edit.bottom - own.bottom);
      if (edit.right - own.right < 3) r.right -= 3 - (edit.right - own.right);
    }
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TPaintBuffer buffer(dc, w, h);
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  const RECT all{0, 0, w, h};
  FillFace(mem, all);

  int cells[2] = {};
  HalfCells(cells[0], cells[1]);
  const bool horz = IsHorizontal();
  const int size = horz ? w : h, half = size / 2;
  const RECT halves[2] = {horz ? RECT{0, 0, half, h} : RECT{0, 0, w, half},
                          horz ? RECT{half, 0, w, h} : RECT{0, half, w, h}};
  const TDataSkinBorder* element = horz ? SkinData->UpDownHorz.get() : SkinData->UpDownVert.get();
  const bool skinned = element && !element->Image.Empty();
  for (int i = 0; i < 2; ++i) {
    const RECT& part = halves[i];
    const int cell = cells[i];
    if (skinned) {
      const int count = std::max(element->FrameCount, 1);
      DrawSkinCell(mem, part, element->Image, true, count, cell);
      if (!element->Image2.Empty())
        DrawSkinCellCentered(mem, part, element->Image2, true, count, cell);
      continue;
    }
    const int state = (cell - 1) % 4 + 1;
    const TColor fill = state == 1 || state == 3 ? SkinData->Colours[scButtonFace]
                                                 : SkinData->Colours[scButtonShadow];
    TSelected brush(mem, CreateSolidBrush(ColorToRGB(fill)));
    TSelected pen(mem, CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->Colours[scButtonDkShadow])));
    Rectangle(mem, part.left, part.top, part.right, part.bottom);
    const int cx = part.left + (part.right - part.left) / 2;
    const int cy = part.top + (part.bottom - part.top) / 2;
    DrawArrowLines(mem, cx, horz ? cy : cy - 2, (horz ? 2 : 0) + i);
  }
  BitBlt(dc, r.left, r.top, w, h, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// TSkinComBox

const TClassInfo& TSkinComBox::StaticClassInfo() {
  static const TClassInfo info{"TSkinComBox", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinComBox::~TSkinComBox() {
  ReleaseParts();
}

void TSkinComBox::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (Attached) AttachParts(true);
}

void TSkinComBox::AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) {
  if (Attached) return;
  TSkinControl::AttachHandle(wnd, data, form);
  if (Attached) AttachParts(false);
}

bool TSkinComBox::ReadComboInfo() {
  ComboInfo = {};
  ComboInfo.cbSize = sizeof ComboInfo;
  return GetComboBoxInfo(Handle, &ComboInfo) != FALSE;
}

void TSkinComBox::AttachParts(bool scrollers) {
  Style = ReadStyle(Handle, GWL_STYLE);
  const int kind = Style & 3;
  if (kind != CBS_SIMPLE) {
    if (scrollers && (kind & 2) && ReadComboInfo() && ComboInfo.hwndList && ComboListSkinnerFactory)
      DropScroller = ComboListSkinnerFactory(this, ComboInfo.hwndList, false);
    HookEdit();
    ListHandle = nullptr;
    return;
  }
  if (!ReadComboInfo()) return;
  ListHandle = ComboInfo.hwndList;
  if (!scrollers || !ListHandle || !ComboListSkinnerFactory) return;
  const LONG listStyle = ReadStyle(ListHandle, GWL_STYLE);
  const bool popup = (listStyle & WS_POPUP) != 0 || GetParent(ListHandle) == GetDesktopWindow();
  if (!popup && (listStyle & WS_CHILD))
    ListScroller = ComboListSkinnerFactory(this, ListHandle, true);
}

void TSkinComBox::HookEdit() {
  EditHandle = GetTopWindow(Handle);
  if (!EditHandle || FEditHook) return;
  FEditHook = new TEditHook(this);
  if (!FEditHook->Hook(EditHandle)) {
    delete FEditHook;
    FEditHook = nullptr;
  }
}

bool TSkinComBox::EditHooked() const {
  return FEditHook && FEditHook->WindowHooked();
}

LRESULT TSkinComBox::TEditHook::HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = CallOldProc(msg, wparam, lparam);
  TSkinComBox* combo = FCombo;
  if (!combo || !combo->Active || !combo->PaintsButton()) return result;
  switch (msg) {
  case WM_PAINT:
    combo->PaintNow(nullptr);
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    combo->MouseFlags |= mfDown;
    combo->Redraw();
    break;
  case WM_LBUTTONUP:
    combo->MouseFlags &= static_cast<BYTE>(~mfDown);
    combo->Redraw();
    break;
  case WM_NCDESTROY:
    UnhookWindow();
    break;
  }
  return result;
}

void TSkinComBox::ReleaseParts() {
  if (FEditHook) {
    // The hook gives the procedure back only while ours is the edit's current one.
    FEditHook->FCombo = nullptr;
    FEditHook->Unhook();
    TSkinWndHook::Dispose(FEditHook);
    FEditHook = nullptr;
  }
  for (TSkinControl** scroller : {&ListScroller, &DropScroller}) {
    TSkinControl* s = *scroller;
    *scroller = nullptr;
    if (!s) continue;
    if (s->LifeState != 6) s->Unskin();
    TSkinControl::Free(s);
  }
}

void TSkinComBox::Unskin() {
  TSkinControl::Unskin();
  ReleaseParts();
}

int TSkinComBox::StateCell() {
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  // In a combo with an edit the focus is on the edit.
  const HWND focus = GetFocus();
  Focused = focus && (focus == Handle || IsChild(Handle, focus));
  if (!Enabled) return 3;
  if (MouseFlags & mfDown) return 2;
  if (Focused || (MouseFlags & mfHot)) return 4;
  return 1;
}

bool TSkinComBox::PaintsButton() const {
  const TDataSkinBorder* button = SkinData ? SkinData->ComboButton.get() : nullptr;
  return button && !button->Image.Empty() && (ReadStyle(Handle, GWL_STYLE) & 3) != CBS_SIMPLE;
}

void TSkinComBox::AfterMessage(TMessage& msg) {
  // A combo the skin does not paint is not repainted for it either.
  if (!PaintsButton()) return;
  switch (msg.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return;
  case WM_MOUSEMOVE: {
    // Client coordinates (signed) into the window's, where ButtonRect lies.
    POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    RECT window{};
    if (!GetWindowRect(Handle, &window)) return;
    ClientToScreen(Handle, &p);
    p.x -= window.left;
    p.y -= window.top;
    const bool over = PtInRect(&ButtonRect, p) != FALSE;
    const bool enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    if (!enabled || over == ((MouseFlags & mfHot) != 0)) return;
    if (over)
      MouseFlags |= mfHot;
    else
      MouseFlags &= static_cast<BYTE>(~mfHot);
    Redraw();
    return;
  }
  case WM_DRAWITEM:
  case WM_NCPAINT:
    Redraw();
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    MouseFlags |= mfDown;
    Redraw();
    return;
  case WM_LBUTTONUP:
    MouseFlags &= static_cast<BYTE>(~mfDown);
    Redraw();
    return;
  case CM_MOUSELEAVE:
    if (MouseFlags & mfHot) {
      MouseFlags &= static_cast<BYTE>(~mfHot);
      Redraw();
    }
    return;
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  // A simple combo has no drop button, whatever the system reports.
  if (!PaintsButton()) return;
  const TDataSkinBorder* button = SkinData->ComboButton.get();
  Style = ReadStyle(Handle, GWL_STYLE);
  ExStyle = ReadStyle(Handle, GWL_EXSTYLE);
  if (ReadComboInfo()) {
    ButtonRect = ComboInfo.rcButton;
    if (ComboInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  if (button->Style == 1) {
    DrawFlat(dc, rect);
    return;
  }
  const int state = StateCell();
  const int count = std::max(button->FrameCount, 1);
  const int b = GetSystemMetrics(SM_CXHSCROLL);
  const bool left = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  if (Extended) {
    DrawExtended(dc, rect, state);
    return;
  }
  if (button->Style == 2) {
    const TDataSkinObject* face = left ? SkinData->SunkEdge.get() : button;
    if (face)
      DrawSkinRect(dc, rect, face->Image, false, false, true, std::max(face->FrameCount, 1), state,
                   face->Margins);
    return;
  }
  const int saved = SaveDC(dc);
  if (left)
    ExcludeClipRect(dc, b + 4, 2, rect.right - 2, rect.bottom - 2);
  else
    ExcludeClipRect(dc, 2, 2, rect.right - b - 4, rect.bottom - 2);
  const RECT box = left ? RECT{rect.left, rect.top, rect.left + b + 2, rect.bottom}
                        : RECT{rect.right - b - 2, rect.top, rect.right, rect.bottom};
  RECT glyph = box;
  InflateRect(&glyph, 0, -2);
  if (left)
    glyph.left += 2;
  else
    glyph.right -= 2;
  if (const TDataSkinObject* edge = SkinData->SunkEdge.get(); edge && !edge->Image.Empty())
    DrawElement(dc, rect, std::max(edge->FrameCount, 1), state, *edge);
  // The second image is the first one mirrored as a whole: its cells run the other way.
  if (left)
    DrawSkinCell(dc, box, button->Image2, true, count, count + 1 - state);
  else
    DrawSkinCell(dc, box, button->Image, true, count, state);
  ButtonRect = box;
  if (const TDataSkinObject* extra = SkinData->ExtraImages.get(); extra && !extra->Image.Empty())
    DrawSkinCellCentered(dc, glyph, extra->Image, true, std::max(extra->FrameCount, 1), state);
  if (saved) RestoreDC(dc, saved);
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& rect) {
  const TDataSkinBorder& button = *SkinData->ComboButton;
  const int state = StateCell();
  const int cellWidth = button.CellWidth(), cellHeight = button.CellHeight();
  const int t = GetSystemMetrics(SM_CYVTHUMB);
  const bool left = (ReadStyle(Handle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT r = rect;
  InflateRect(&r, -1, -1);
  if (current) FrameRect(dc, &r, current);
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  RECT strip = inner;
  if (left)
    strip.right = std::min(inner.right, inner.left + t);
  else
    strip.left = std::max(inner.left, inner.right - t);
  if (current) FillRect(dc, &strip, current);
  RECT box = inner;
  if (left)
    box.right = std::min(inner.right, inner.left + cellWidth);
  else
    box.left = std::max(inner.left, inner.right - cellWidth);
  if (cellHeight < t) box.bottom = inner.top + cellHeight;
  FrameWith(dc, rect, ColorToRGB(SkinData->Colours[scButtonShadow]));
  ButtonRect = box;
  DrawSkinCell(dc, box, button.Image, true, std::max(button.FrameCount, 1), state);
}

void TSkinComBox::DrawExtended(HDC dc, const RECT& rect, int state) {
  RECT client{};
  GetClientRect(Handle, &client);
  if (client.right != rect.right - rect.left || client.bottom != rect.bottom - rect.top) {
    FrameWith(dc, rect, ColorToRGB(SkinData->Colours[scButtonShadow]));
    RECT r = rect;
    InflateRect(&r, -1, -1);
    FrameWith(dc, r, kWhite);
  }
  const TDataSkinObject* arrow = SkinData->ComboxArrow.get();
  HWND child = GetTopWindow(Handle);
  if (!arrow || arrow->Image.Empty() || !child) return;
  // The arrow goes over the inner combo's drop button (its whole rectangle when it has none).
  RECT target{};
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(child, &info) && !IsRectEmpty(&info.rcButton)) {
    target = info.rcButton;
    MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&target), 2);
  } else if (!GetWindowRect(child, &target)) {
    return;
  }
  RECT window{};
  GetWindowRect(Handle, &window);
  OffsetRect(&target, -window.left, -window.top);
  FillFace(dc, target);
  DrawSkinCell(dc, target, arrow->Image, true, std::max(arrow->FrameCount, 1), state);
  ButtonRect = target;
}
