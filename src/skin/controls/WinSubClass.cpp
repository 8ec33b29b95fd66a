#include "WinSubClass.h"

#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Forms.h"

#include <algorithm>
#include <cctype>

namespace {

std::string LowerClassName(HWND wnd) {
  char buf[101] = {};
  GetClassNameA(wnd, buf, sizeof buf);
  std::string s = buf;
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
} // namespace

std::wstring CaptionLines(std::wstring text) {
  if (const size_t at = text.find(L"||"); at != std::wstring::npos) text.replace(at, 2, L"\r\n");
  return text;
}

// ---------------------------------------------------------------------------------------------
// TSkinControl

const TClassInfo& TSkinControl::StaticClassInfo() {
  static const TClassInfo info{"TSkinControl", &TComponent::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  ComponentState |= csDestroying;
  GiveBackSlot();
  if (Form) Form->RemoveControl(this);
  Form = nullptr;
}

void TSkinControl::TSlot::operator()(TMessage& msg) const {
  std::shared_ptr<TSlotLink> link = Link; // the slot may be replaced while the message runs
  if (link->Owner)
    link->Owner->SkinWndProc(msg);
  else if (link->Old)
    link->Old(msg);
}

void TSkinControl::GiveBackSlot() {
  if (FSlotHeld) {
    FSlotHeld = false;
    // A control being destroyed has no slot left to write to.
    if (Control && !(Control->ComponentState & csDestroying)) {
      const TSlot* current = Control->WindowProc.target<TSlot>();
      if (current && current->Link == FSlot) Control->WindowProc = FSlot->Old;
    }
    // Someone who put a handler in front of ours still calls ours: it passes straight on.
    FSlot->Owner = nullptr;
  }
  UnhookWindow();
}

void TSkinControl::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (!control || !data) return;
  HWND wnd = control->Handle();
  if (!wnd) return;
  Recolor = recolor;
  SkinData = data;
  Form = form;
  Handle = wnd;
  IsUnicode = IsWindowUnicode(wnd) != FALSE;
  HoldSlot(control);
  if (Form) Form->AddControl(this);
  if (Recolor) {
    SavedColor = control->Color();
    control->SetColor(data->Colours[scButtonFace]);
  }
  control->Invalidate();
  Attached = true;
  LifeState = 1;
}

void TSkinControl::HoldSlot(TControl* control) {
  if (!control || FSlotHeld) return;
  Control = control;
  FSlot = std::make_shared<TSlotLink>();
  FSlot->Owner = this;
  FSlot->Old = control->WindowProc;
  control->WindowProc = TSlot{FSlot};
  FSlotHeld = true;
}

void TSkinControl::AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) {
  if (Attached || !data || !IsWindow(wnd)) return;
  SkinData = data;
  Form = form;
  Handle = wnd;
  Enabled = true;
  Mode = 0;
  IsUnicode = IsWindowUnicode(wnd) != FALSE;
  if (!HookWindow(wnd)) return;
  if (Form) Form->AddControl(this);
  Caption = ReadCaption();
  InvalidateRect(wnd, nullptr, TRUE);
  Attached = true;
  LifeState = 1;
}

void TSkinControl::Unskin() {
  if (!Active) return;
  Active = false;
  if (LifeState != 6 && Recolor && Control && !(Control->ComponentState & csDestroying))
    Control->SetColor(SavedColor);
  // The control paints itself again in its standard look, border included.
  if (LifeState != 6 && IsWindow(Handle))
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TSkinControl::RefreshSkin() {
  if (Recolor && Control && SkinData) Control->SetColor(SkinData->Colours[scButtonFace]);
  Redraw();
}

LRESULT TSkinControl::HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  SkinWndProc(m);
  if (msg == WM_NCDESTROY) UnhookWindow();
  return m.Result;
}

void TSkinControl::Free(TSkinControl* skinner) {
  if (!skinner) return;
  if (skinner->FBusy > 0) {
    skinner->FFreePending = true;
    skinner->Active = false;
    if (skinner->Form) skinner->Form->RemoveControl(skinner);
    skinner->Form = nullptr;
    return;
  }
  delete skinner;
}

void TSkinControl::SkinWndProc(TMessage& msg) {
  // Frees the skinner once its last message returns when a free was asked for meanwhile; on
  // every path, so that a failure thrown by the control's own handling (which goes on to the
  // application's handler) never leaves it behind.
  struct TBusy {
    TSkinControl* Self;
    ~TBusy() {
      if (--Self->FBusy != 0 || !Self->FFreePending) return;
      Self->FFreePending = false;
      // A raw window's hook frees the object once its message has returned.
      if (Self->InMessage())
        TSkinWndHook::Dispose(Self);
      else
        delete Self;
    }
  } busy{this};
  ++FBusy;
  Dispatch(msg);
}

// Painting failures are caught where the painting happens (PaintNow, PaintWithBeginPaint);
// what the control's own handling throws goes on to the caller.
void TSkinControl::Dispatch(TMessage& msg) {
  if (msg.Msg == SKM_ENABLE) {
    Active = static_cast<LONG_PTR>(msg.WParam) > 0;
    if (Active) Redraw();
    return;
  }
  if (msg.Msg == WM_NCDESTROY) LifeState = 6; // also while skin painting is off
  if (!Active) {
    CallPrevious(msg);
    return;
  }
  if (BeforeMessage(msg)) {
    CallPrevious(msg);
    AfterMessage(msg);
  }
}

void TSkinControl::CallPrevious(TMessage& msg) {
  if (FSlotHeld) {
    if (FSlot->Old)
      FSlot->Old(msg);
    else if (Control)
      Control->WndProc(msg);
    return;
  }
  msg.Result = CallOldProc(msg.Msg, msg.WParam, msg.LParam);
}

bool TSkinControl::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_NCDESTROY:
    LifeState = 6;
    CallPrevious(msg);
    if (Active) Unskin();
    return false;
  case SKM_QUERY:
    msg.Result = 1;
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_ENABLE:
  case WM_SETTEXT:
  case CM_ENABLEDCHANGED:
    Redraw();
    break;
  case WM_PAINT:
    PaintNow(reinterpret_cast<HDC>(msg.WParam));
    break;
  }
}

void TSkinControl::Redraw() {
  if (PaintTarget) {
    PaintTarget->Invalidate();
    if (TWinControl* parent = PaintTarget->Parent(); parent && parent->HandleAllocated())
      UpdateWindow(parent->WindowHandle());
    return;
  }
  if (!IsWindow(Handle)) return;
  InvalidateRect(Handle, nullptr, TRUE);
  UpdateWindow(Handle);
}

void TSkinControl::DrawInto(HDC dc, const RECT& rect) {
  const int saved = SaveDC(dc);
  try {
    DrawSkin(dc, rect);
  } catch (...) {
    if (saved) RestoreDC(dc, saved);
    throw;
  }
  if (saved) RestoreDC(dc, saved);
}

void TSkinControl::PaintNow(HDC dc) {
  RECT r{};
  if (!GetWindowRect(Handle, &r)) return;
  WindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawInto(dc, r);
      return;
    }
    HDC own = GetWindowDC(Handle);
    if (!own) return;
    try {
      DrawSkin(own, r);
    } catch (...) {
      ReleaseDC(Handle, own);
      throw;
    }
    ReleaseDC(Handle, own);
  } catch (...) {
  }
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::PaintWithBeginPaint(TMessage& msg) {
  RECT r{};
  GetWindowRect(Handle, &r);
  WindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  if (msg.WParam) {
    try {
      DrawInto(reinterpret_cast<HDC>(msg.WParam), r);
    } catch (...) {
    }
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(Handle, &ps);
  if (!dc) return;
  try {
    DrawSkin(dc, r);
  } catch (...) {
  }
  EndPaint(Handle, &ps);
}

void TSkinControl::DrawElement(HDC dc, const RECT& rect, int cells, int cell,
                               const TDataSkinObject& element) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  DrawSkinRect(dc, rect, element.Image, false, element.Tile == 1, element.Trans == 1, cells, cell,
               element.Margins);
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) {
  if (SkinData && SkinData->ButtonFaceBrush())
    FillRect(dc, &rect, SkinData->ButtonFaceBrush());
  else
    FillColor(dc, rect, GetSysColor(COLOR_BTNFACE));
}

void TSkinControl::FillColor(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void TSkinControl::FillParentColor(HDC dc, const RECT& rect) {
  if (Control && Control->Parent())
    FillColor(dc, rect, ColorToRGB(Control->Parent()->Color()));
  else
    FillFace(dc, rect);
}

void TSkinControl::EraseWithParent(TMessage& msg) {
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  if (dc) {
    if (Control) {
      DrawParentImage(Control, dc);
    } else {
      RECT r{};
      GetClientRect(Handle, &r);
      FillParentColor(dc, r);
    }
  }
  msg.Result = 1;
}

UINT TSkinControl::BiDiFlags(UINT format) const {
  const bool rtl = Control && IsWindow(Handle) &&
                   (GetWindowLongW(Handle, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL));
  return rtl ? format | DT_RTLREADING : format;
}

void TSkinControl::ForwardMouseDown(const TMessage& msg) {
  if (!Control) return;
  const TWMMouse mouse(msg);
  POINT p = mouse.Pos();
  if (Control->Width() > 0x8000 || Control->Height() > 0x8000) {
    GetCursorPos(&p);
    ScreenToClient(Handle, &p);
  }
  const TMouseButton button = msg.Msg == WM_RBUTTONDOWN   ? mbRight
                              : msg.Msg == WM_MBUTTONDOWN ? mbMiddle
                                                          : mbLeft;
  TShiftState shift = KeysToShiftState(mouse.Keys);
  if (msg.Msg == WM_LBUTTONDBLCLK) shift |= ssDouble;
  Control->MouseDown(button, shift, p.x, p.y);
}

void TSkinControl::DrawFocusFrame(HDC dc, UINT format, const RECT& rect) {
  std::wstring text = Caption;
  RECT m = rect;
  DrawTextW(dc, text.c_str(), -1, &m, format | DT_CALCRECT | DT_NOCLIP);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int tw = m.right - m.left, th = m.bottom - m.top;
  if (format & DT_CENTER)
    OffsetRect(&m, (w - tw) / 2, (h - th) / 2 - 1);
  else if (format & DT_RIGHT)
    OffsetRect(&m, w - tw, 0);
  InflateRect(&m, 2, 1);
  RECT clipped{};
  IntersectRect(&clipped, &m, &rect);
  DrawFocusRect(dc, &clipped);
}

LONG TSkinControl::ReadStyle(HWND wnd, int index) const {
  return IsUnicode ? GetWindowLongW(wnd, index) : GetWindowLongA(wnd, index);
}

std::wstring TSkinControl::ReadCaption() const {
  if (Control) return Widen(GetPropValue(Control, "Caption"));
  if (!IsWindow(Handle)) return {};
  const int n = GetWindowTextLengthW(Handle);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(Handle, text.data(), n + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

// ---------------------------------------------------------------------------------------------
// TSkinButton

const TClassInfo& TSkinButton::StaticClassInfo() {
  static const TClassInfo info{"TSkinButton", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinButton::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (!Attached) return;
  Mode = 0;
  const std::string name = Lower(Control->ClassName());
  if (name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0) Mode = 1;
  ParentLook = Control->Tag == 5555 || (data->Options() & SkinBit(xoTransparent)) != 0;
}

bool TSkinButton::IsDefault() const {
  return Control && Lower(GetPropValue(Control, "Default")) == "true";
}

int TSkinButton::StateCell() const {
  if (!Enabled) return 3;
  if (MouseFlags & mfDown) return 2;
  if (MouseFlags & mfHot) return 4;
  if (Focused || IsDefault()) return 5;
  return 1;
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  const TDataSkinButton& element = SkinData->Buttons;
  if (element.Image.Empty()) return;
  Focused = GetFocus() == Handle;
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Caption = ReadCaption();
  const int cell = StateCell();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  HDC mem = Buffer(dc, w, h);
  if (!mem) return;
  // The font is given back to the buffer on every path.
  struct TFontBack {
    HDC DC;
    HGDIOBJ Old = nullptr;
    void Select(HFONT font) {
      if (font && !Old) Old = SelectObject(DC, font);
    }
    ~TFontBack() {
      if (Old) SelectObject(DC, Old);
    }
  } font{mem};
  const RECT r{0, 0, w, h};
  if (ParentLook && Control) {
    DrawParentImage(Control, mem);
    DrawElement(mem, r, element.FrameCount, cell, element);
  } else if (!DrawFace(mem, w, h, cell)) {
    FillFace(mem, r);
    DrawElement(mem, r, element.FrameCount, cell, element);
  }

  // Text colours, later ones winning.
  COLORREF text = ColorToRGB(SkinData->Colours[scButtonText]);
  if (Control) {
    font.Select(Control->Font.Handle());
    text = ColorToRGB(Control->Font.Color);
  } else {
    font.Select(reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  }
  if (element.HasNormalColour2) text = ColorToRGB(element.NormalColour2);
  if (cell == 4 && element.HasMouseOverColour2) text = ColorToRGB(element.MouseOverColour2);
  if (cell == 2 && element.HasPressedColour2) text = ColorToRGB(element.PressedColour2);
  if (cell == 3) text = GetSysColor(COLOR_BTNSHADOW);
  SetTextColor(mem, text);
  DrawCaption(mem, r, DT_CENTER);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

bool TSkinButton::DrawFace(HDC dc, int w, int h, int cell) {
  const TDataSkinButton& element = SkinData->Buttons;
  const int cells = std::max(element.FrameCount, 1);
  if (cell < 1 || cell > cells) return false;
  if (FFaces.Width != w || FFaces.Height != h || FFaces.Cells.size() != size_t(cells)) {
    FFaces.Cells.clear();
    FFaces.Cells.resize(static_cast<size_t>(cells));
    FFaces.Width = w;
    FFaces.Height = h;
  }
  TBitmapHandle& face = FFaces.Cells[static_cast<size_t>(cell - 1)];
  if (!face) {
    TBitmapHandle made(CreateCompatibleBitmap(dc, w, h));
    TMemoryDCHandle mem(CreateCompatibleDC(dc));
    if (!made || !mem) return false;
    const HGDIOBJ old = SelectObject(mem.Get(), made.Get());
    const RECT r{0, 0, w, h};
    FillFace(mem.Get(), r);
    DrawElement(mem.Get(), r, element.FrameCount, cell, element);
    SelectObject(mem.Get(), old);
    face = std::move(made);
  }
  if (!FFaces.DC) FFaces.DC = TMemoryDCHandle(CreateCompatibleDC(dc));
  if (!FFaces.DC) return false;
  const HGDIOBJ old = SelectObject(FFaces.DC.Get(), face.Get());
  BitBlt(dc, 0, 0, w, h, FFaces.DC.Get(), 0, 0, SRCCOPY);
  SelectObject(FFaces.DC.Get(), old);
  return true;
}

HDC TSkinButton::Buffer(HDC target, int w, int h) {
  if (!FBuffer.DC) {
    FBuffer.DC = TMemoryDCHandle(CreateCompatibleDC(target));
    if (!FBuffer.DC) return nullptr;
  }
  if (!FBuffer.Bitmap || FBuffer.Width != w || FBuffer.Height != h) {
    TBitmapHandle bitmap(CreateCompatibleBitmap(target, w, h));
    if (!bitmap) return nullptr;
    const HGDIOBJ old = SelectObject(FBuffer.DC.Get(), bitmap.Get());
    if (!FBuffer.First) FBuffer.First = old;
    FBuffer.Bitmap = std::move(bitmap); // the previous one is no longer selected
    FBuffer.Width = w;
    FBuffer.Height = h;
  }
  return FBuffer.DC.Get();
}

void TSkinButton::RefreshSkin() {
  FFaces = {}; // a new skin: new faces
  TSkinControl::RefreshSkin();
}

void TSkinButton::DrawCaption(HDC dc, const RECT& rect, UINT alignment) {
  const std::wstring text = CaptionLines(Caption);
  RECT t = rect;
  InflateRect(&t, -2, -2);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), -1, &t,
            alignment | DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_EXPANDTABS);
  const int tw = t.right - t.left, th = t.bottom - t.top;
  t = {0, 0, tw, th};
  OffsetRect(&t, 0, (rect.bottom - rect.top - th) / 2 - 1);
  if (alignment == DT_CENTER) {
    OffsetRect(&t, (rect.right - rect.left - tw) / 2, 0);
  } else {
    t.left = rect.left;
    t.right = rect.right;
  }
  const UINT format = BiDiFlags(alignment | DT_WORDBREAK | DT_EXPANDTABS);
  DrawTextW(dc, text.c_str(), -1, &t, format);
  SetBkMode(dc, OPAQUE);
  if (Focused && !(SkinData->Options() & SkinBit(xoNoFocusRect))) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(dc, &t);
  }
}

bool TSkinButton::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    PaintWithBeginPaint(msg);
    return false;
  case WM_ERASEBKGND:
    msg.Result = 1;
    return false;
  case WM_TIMER:
    // The button's own animation timer: our painting replaces it.
    if (msg.WParam != 1) return true;
    KillTimer(Handle, 1);
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (GetFocus() != Handle) SetFocus(Handle);
    MouseFlags |= mfDown;
    PaintNow(nullptr);
    if (!Mode) ForwardMouseDown(msg);
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinButton::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_SETTEXT:
    PaintNow(nullptr);
    return;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (msg.WParam != VK_SPACE) return;
    if (msg.Msg == WM_KEYDOWN)
      MouseFlags |= mfDown;
    else
      MouseFlags &= static_cast<BYTE>(~mfDown);
    Redraw();
    return;
  case WM_MOUSEMOVE:
  case CM_MOUSEENTER: {
    const bool enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    if (enabled && !(MouseFlags & mfHot)) {
      MouseFlags |= mfHot;
      Redraw();
    }
    if (msg.Msg == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle, 0};
      TrackMouseEvent(&t);
    }
    return;
  }
  case WM_LBUTTONUP:
    if (MouseFlags & mfDown) {
      MouseFlags &= static_cast<BYTE>(~mfDown);
      Redraw();
      Clicked();
    }
    return;
  case WM_MOUSELEAVE:
  case CM_MOUSELEAVE:
    if (MouseFlags & (mfHot | mfDown)) {
      MouseFlags &= static_cast<BYTE>(~(mfHot | mfDown));
      Redraw();
    }
    return;
  case CM_DIALOGKEY:
  case CM_FOCUSCHANGED:
    Redraw();
    return;
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinButton::Clicked() {
  if (Control) {
    Control->Click();
    return;
  }
  HWND parent = GetParent(Handle);
  if (!parent) return;
  const WPARAM id =
      LowerClassName(Handle) == "tbutton" ? 0 : MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED);
  PostMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(Handle));
}
