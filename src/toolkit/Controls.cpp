#include "Controls.h"
#include "Forms.h"
#include "Menus.h"

#include <algorithm>
#include <cstdio>

// ---------------------------------------------------------------------------------------------
// TControl

static TPropInfo FontProp(const char* field) {
  TPropInfo p;
  p.Name = std::string("Font.") + field;
  std::string f = field;
  p.Get = [f](const TObject* o) {
    bool found;
    return GetFontProp(static_cast<const TControl*>(o)->Font, f, &found);
  };
  p.Set = [f](TObject* o, const std::string& v) {
    auto* c = static_cast<TControl*>(o);
    c->SetParentFont(false);
    SetFontProp(c->Font, f, v);
  };
  return p;
}

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TControl", &TComponent::StaticClassInfo(), nullptr, {}};
    i.Props = {IntProp("Left", &TControl::Left, &TControl::SetLeft),
               IntProp("Top", &TControl::Top, &TControl::SetTop),
               IntProp("Width", &TControl::Width, &TControl::SetWidth),
               IntProp("Height", &TControl::Height, &TControl::SetHeight),
               IntProp("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth),
               IntProp("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight),
               BoolProp("Visible", &TControl::Visible, &TControl::SetVisible),
               BoolProp("Enabled", &TControl::Enabled, &TControl::SetEnabled),
               StrProp("Caption", &TControl::Caption, &TControl::SetCaption),
               StrProp("Text", &TControl::Caption, &TControl::SetCaption),
               BoolProp("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
               BoolProp("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
               EventProp("OnClick", &TControl::OnClick),
               FontProp("Name"),
               FontProp("Height"),
               FontProp("Charset"),
               FontProp("Color"),
               FontProp("Style")};
    TPropInfo color;
    color.Name = "Color";
    color.Get = [](const TObject* o) {
      return ColorToString(static_cast<const TControl*>(o)->Color());
    };
    color.Set = [](TObject* o, const std::string& v) {
      static_cast<TControl*>(o)->SetColor(StringToColor(v));
    };
    i.Props.push_back(color);
    TPropInfo hint;
    hint.Name = "Hint";
    hint.Get = [](const TObject* o) { return static_cast<const TControl*>(o)->Hint; };
    hint.Set = [](TObject* o, const std::string& v) { static_cast<TControl*>(o)->Hint = v; };
    i.Props.push_back(hint);
    TPropInfo showHint;
    showHint.Name = "ShowHint";
    showHint.Get = [](const TObject* o) {
      return std::string(static_cast<const TControl*>(o)->ShowHint ? "True" : "False");
    };
    showHint.Set = [](TObject* o, const std::string& v) {
      static_cast<TControl*>(o)->ShowHint = v == "True";
    };
    i.Props.push_back(showHint);
    TPropInfo popup;
    popup.Name = "PopupMenu";
    popup.Kind = pkComponent;
    popup.Get = [](const TObject* o) {
      auto* m = static_cast<const TControl*>(o)->PopupMenu;
      return m ? reinterpret_cast<const TComponent*>(m)->Name : std::string();
    };
    popup.SetComponent = [](TObject* o, TComponent* c) {
      auto* self = static_cast<TControl*>(o);
      self->PopupMenu = dynamic_cast<TPopupMenu*>(c);
      if (self->PopupMenu) self->FreeNotification(reinterpret_cast<TComponent*>(self->PopupMenu));
    };
    i.Props.push_back(popup);
    return i;
  }();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  Font.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  ComponentState |= csDestroying;
  if (FParent) FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::SetMessageHandler(UINT msg, TWndMethod handler) {
  if (handler)
    FMessageHandlers[msg] = std::move(handler);
  else
    FMessageHandlers.erase(msg);
}

void TControl::WndProc(TMessage& msg) {
  if (IsSkinnedNotice(msg)) return; // the skin engine's notice: no header behind its lParam
  auto it = FMessageHandlers.find(msg.Msg);
  if (it != FMessageHandlers.end()) {
    TWndMethod handler = it->second; // a handler may replace itself while it runs
    handler(msg);
  } else {
    Dispatch(msg);
  }
}

void TControl::Dispatch(TMessage& msg) {
  switch (msg.Msg) {
  case CM_MOUSEENTER:
    FMouseInControl = true;
    break;
  case CM_MOUSELEAVE:
    FMouseInControl = false;
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN: {
    const POINT p = TWMMouse(msg).Pos();
    const TMouseButton button = msg.Msg == WM_RBUTTONDOWN   ? mbRight
                                : msg.Msg == WM_MBUTTONDOWN ? mbMiddle
                                                            : mbLeft;
    TShiftState shift = KeysToShiftState(static_cast<UINT>(msg.WParam));
    if (msg.Msg == WM_LBUTTONDBLCLK) shift |= ssDouble;
    MouseDown(button, shift, p.x, p.y);
    break;
  }
  case WM_CONTEXTMENU:
    if (PopupMenu) {
      const TWMContextMenu menu(msg);
      POINT p = menu.Pos();
      if (menu.FromKeyboard) GetCursorPos(&p);
      PopupMenu->PopupComponent = this;
      PopupMenu->Popup(p.x, p.y);
      msg.Result = 1;
      return;
    }
    break;
  }
  DefaultHandler(msg);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  bool moved = left != FLeft || top != FTop || width != FWidth || height != FHeight;
  if (moved && IsWindowless() && FParent) FParent->Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (moved && IsWindowless() && FParent) FParent->Invalidate();
}

POINT TControl::ClientToScreen(POINT p) const {
  if (!IsWindowless()) {
    auto* self = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
    if (self->HandleAllocated()) ::ClientToScreen(self->WindowHandle(), &p);
    return p;
  }
  p.x += FLeft;
  p.y += FTop;
  return FParent ? FParent->ClientToScreen(p) : p;
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (FParent) FParent->Invalidate();
  Perform(CM_VISIBLECHANGED, v);
}

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Invalidate();
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& text) {
  FText = text;
  Invalidate();
}

void TControl::SetColor(TColor c) {
  FColor = c;
  FParentColor = false;
  ParentColorChanged();
}

void TControl::SetParentColor(bool v) {
  FParentColor = v;
  if (v && FParent) FColor = FParent->Color();
  ParentColorChanged();
}

void TControl::SetParentFont(bool v) {
  FParentFont = v;
  if (v && FParent) {
    Font.Assign(FParent->Font);
    FParentFont = true; // Assign runs FontChanged, which must not clear the flag
  }
}

void TControl::FontChanged() {
  Invalidate();
}
void TControl::ParentFontChanged() {
  if (FParentFont && FParent) {
    Font.Assign(FParent->Font);
    FParentFont = true;
  }
}
void TControl::ParentColorChanged() {
  Invalidate();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

TShiftState KeysToShiftState(UINT keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  return s;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::Invalidate() {
  if (FParent && FParent->HandleAllocated() && FVisible) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->WindowHandle(), &r, TRUE);
  }
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && reinterpret_cast<TComponent*>(PopupMenu) == component)
    PopupMenu = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TWinControl

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TWinControl", &TControl::StaticClassInfo(), nullptr, {}};
    i.Props = {IntProp("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)};
    TPropInfo tabStop;
    tabStop.Name = "TabStop";
    tabStop.Get = [](const TObject* o) {
      return std::string(static_cast<const TWinControl*>(o)->TabStop ? "True" : "False");
    };
    tabStop.Set = [](TObject* o, const std::string& v) {
      static_cast<TWinControl*>(o)->TabStop = v == "True";
    };
    i.Props.push_back(tabStop);
    return i;
  }();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  ComponentState |= csDestroying;
  if (FHandle) DestroyHandle();
  for (TControl* c : std::vector<TControl*>(FControls))
    c->SetParent(nullptr);
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = FText;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FVisible) p.Style |= WS_VISIBLE;
  if (!FEnabled) p.Style |= WS_DISABLED;
  if (TabStop) p.Style |= WS_TABSTOP;
  p.X = FLeft;
  p.Y = FTop;
  p.Width = FWidth;
  p.Height = FHeight;
  p.WndParent = FParent ? FParent->Handle() : nullptr;
  p.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  FDefWndProc = EnsureWindowClass(p);
  HWND wnd = CreateControlWindow(this, p);
  if (!wnd) {
    FHandle = nullptr;
    throw Exception("Cannot create window " + Name);
  }
  FHandle = wnd;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), 0);
  RestoreWindowState();
  for (TWinControl* c : FTabList)
    c->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  FDestroyingHandle = true;
  for (TWinControl* c : FTabList)
    if (c->HandleAllocated()) c->SaveWindowState();
  SaveWindowState();
  DestroyWnd(); // children go with it; WM_NCDESTROY clears each handle
  FHandle = nullptr;
  FDestroyingHandle = false;
}

void TWinControl::DestroyWnd() {
  DestroyWindow(FHandle);
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  Perform(CM_RECREATEWND);
}

void TWinControl::InsertControl(TControl* c) {
  c->FParent = this;
  FControls.push_back(c);
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FTabList.push_back(w);
    if (FHandle) w->HandleNeeded();
  }
  c->ParentFontChanged();
  if (c->FParentColor) c->FColor = FColor;
  c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
  c->Invalidate();
  FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), c), FTabList.end());
  if (FMouseControl == c) FMouseControl = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle && !FDestroyingHandle)
    w->DestroyHandle();
  c->FParent = nullptr;
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
  // Window z-order follows the tab order so that dialog navigation walks it.
  if (FParent->FHandle) {
    HWND after = HWND_TOP;
    for (TWinControl* w : list)
      if (w->FHandle) {
        SetWindowPos(w->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = w->FHandle;
      }
  }
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : FControls) {
    if (!c->IsWindowless() || !c->Visible()) continue;
    TSavedDC saved(dc);
    RECT r = c->BoundsRect();
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

TControl* TWinControl::ControlAtPos(POINT p) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->IsWindowless() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

bool TWinControl::Focused() const {
  return FHandle && GetFocus() == FHandle;
}
void TWinControl::SetFocus() {
  if (HandleNeeded(), FHandle) ::SetFocus(FHandle);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (FHandle)
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, FWidth, FHeight};
  if (FHandle) GetClientRect(FHandle, &r);
  return r;
}

void TWinControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (FHandle) ShowWindow(FHandle, v ? SW_SHOW : SW_HIDE);
  Perform(CM_VISIBLECHANGED, v);
}

void TWinControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  if (FHandle) EnableWindow(FHandle, v);
  Perform(CM_ENABLEDCHANGED);
}

std::string TWinControl::GetText() const {
  if (!FHandle) return FText;
  // The length is only a hint: read until the text fits, whatever the window reports.
  int len = GetWindowTextLengthA(FHandle);
  std::string s;
  for (int cap = std::max(len, 0) + 1; cap > 0 && cap <= (1 << 26); cap *= 2) {
    s.assign(static_cast<size_t>(cap), '\0');
    int got = GetWindowTextA(FHandle, s.data(), cap);
    if (got < cap - 1) {
      s.resize(static_cast<size_t>(std::max(got, 0)));
      return s;
    }
  }
  return s.c_str();
}

void TWinControl::SetText(const std::string& text) {
  FText = text;
  if (FHandle) SetWindowTextA(FHandle, text.c_str());
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

HBRUSH TWinControl::Brush() {
  if (!FBrush || FBrushColor != FColor) {
    FBrush.Reset(CreateSolidBrush(ColorToRGB(FColor)));
    FBrushColor = FColor;
  }
  return FBrush.Get();
}

void TWinControl::FontChanged() {
  if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
  for (TControl* c : FControls)
    c->ParentFontChanged();
  Invalidate();
}

void TWinControl::ParentColorChanged() {
  for (TControl* c : FControls)
    if (c->ParentColor()) {
      c->FColor = FColor;
      c->ParentColorChanged();
    }
  Invalidate();
}

void TWinControl::UpdateMouseInControl(const TMessage& msg) {
  if (msg.Msg == WM_MOUSEMOVE) {
    if (!FMouseInControl) {
      Perform(CM_MOUSEENTER);
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
      TrackMouseEvent(&t);
    }
    TControl* under = ControlAtPos(TWMMouse(msg).Pos());
    if (under != FMouseControl) {
      if (FMouseControl) FMouseControl->Perform(CM_MOUSELEAVE);
      FMouseControl = under;
      if (under) under->Perform(CM_MOUSEENTER);
    }
  } else if (msg.Msg == WM_MOUSELEAVE) {
    if (FMouseControl) {
      FMouseControl->Perform(CM_MOUSELEAVE);
      FMouseControl = nullptr;
    }
    if (FMouseInControl) Perform(CM_MOUSELEAVE);
  }
}

static TWinControl* ChildObject(HWND wnd) {
  return FindWindowObject<TWinControl>(wnd);
}

void TWinControl::Dispatch(TMessage& msg) {
  switch (msg.Msg) {
  case WM_COMMAND:
    if (HWND ctl = TWMCommand(msg).Ctl) {
      if (TWinControl* child = ChildObject(ctl)) {
        msg.Result = child->Perform(CN_COMMAND, msg.WParam, msg.LParam);
        return;
      }
    }
    break;
  case WM_NOTIFY: {
    const NMHDR* hdr = TWMNotify(msg).NMHdr;
    if (hdr && msg.LParam != kSkinnedNoticeParam) // the skinned notice's number is no header
      if (TWinControl* child = ChildObject(hdr->hwndFrom)) {
        msg.Result = child->Perform(CN_NOTIFY, msg.WParam, msg.LParam);
        return;
      }
    break;
  }
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (HWND ctl = msg.Msg == WM_HSCROLL || msg.Msg == WM_VSCROLL ? TWMScroll(msg).ScrollBar
                                                                  : TWMCtlColor(msg).ChildWnd)
      if (TWinControl* child = ChildObject(ctl)) {
        msg.Result = child->Perform(CN_BASE + msg.Msg, msg.WParam, msg.LParam);
        return;
      }
    break;
  case WM_DRAWITEM:
  case WM_MEASUREITEM: {
    const bool draw = msg.Msg == WM_DRAWITEM;
    UINT type = draw ? TWMDrawItem(msg).DrawItemStruct->CtlType
                     : TWMMeasureItem(msg).MeasureItemStruct->CtlType;
    HWND item = draw ? TWMDrawItem(msg).DrawItemStruct->hwndItem
                     : GetDlgItem(FHandle, static_cast<int>(TWMMeasureItem(msg).IdCtl));
    if (type != ODT_MENU && item)
      if (TWinControl* child = ChildObject(item)) {
        msg.Result = child->Perform(CN_BASE + msg.Msg, msg.WParam, msg.LParam);
        return;
      }
    // Items of the toolkit's owner-drawn menus tracked with this window as owner.
    if (type == ODT_MENU && DispatchMenuItemMessage(msg)) return;
    break;
  }
  case CN_CTLCOLOREDIT:
  case CN_CTLCOLORLISTBOX:
  case CN_CTLCOLORSTATIC:
  case CN_CTLCOLORBTN: {
    HDC dc = TWMCtlColor(msg).ChildDC;
    SetTextColor(dc, ColorToRGB(Font.Color));
    SetBkColor(dc, ColorToRGB(FColor));
    msg.Result = reinterpret_cast<LRESULT>(Brush());
    return;
  }
  case WM_ERASEBKGND:
    if (!FDefWndProc || FDefWndProc == DefWindowProcA) {
      RECT r;
      GetClientRect(FHandle, &r);
      FillRect(TWMPaint(msg).DC, &r, Brush());
      msg.Result = 1;
      return;
    }
    break;
  case WM_PAINT:
    if (!FDefWndProc || FDefWndProc == DefWindowProcA) {
      const auto paint = [this](HDC dc) {
        PaintWindow(dc);
        PaintControls(dc);
      };
      if (HDC given = TWMPaint(msg).DC) {
        paint(given);
      } else {
        TPaintDC dc(FHandle);
        paint(dc.DC());
      }
      return;
    }
    break;
  case WM_MOUSEMOVE:
  case WM_MOUSELEAVE:
    UpdateMouseInControl(msg);
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP: {
    const POINT p = TWMMouse(msg).Pos();
    if (TControl* c = ControlAtPos(p)) {
      RECT r = c->BoundsRect();
      c->Perform(msg.Msg, msg.WParam, MAKELPARAM(p.x - r.left, p.y - r.top));
      DefaultHandler(msg); // the press belongs to the windowless child, not to this control
      return;
    }
    break;
  }
  case CM_RECREATEWND: {
    bool had = FHandle != nullptr;
    DestroyHandle();
    if (had) HandleNeeded();
    return;
  }
  case WM_NCDESTROY: {
    DefaultHandler(msg);
    if (FHandle) DetachWindowObject(FHandle);
    FHandle = nullptr;
    FMouseInControl = false;
    return;
  }
  case WM_SETTEXT:
    DefaultHandler(msg);
    FText = TWMSetText(msg).Text;
    return;
  }
  TControl::Dispatch(msg);
}

void TWinControl::DefaultHandler(TMessage& msg) {
  if (!FHandle) return;
  if (msg.Msg >= CM_BASE && msg.Msg < 0xC000) return; // toolkit messages end here
  msg.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : DefWindowProcA, FHandle, msg.Msg,
                               msg.WParam, msg.LParam);
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl, TCustomControl

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info{"TGraphicControl", &TControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TGraphicControl::Dispatch(TMessage& msg) {
  if (msg.Msg == WM_PAINT)
    if (HDC dc = TWMPaint(msg).DC) {
      Paint(dc);
      return;
    }
  if (msg.Msg == WM_LBUTTONUP) {
    const POINT p = TWMMouse(msg).Pos();
    RECT r = ClientRect();
    if (PtInRect(&r, p)) Click();
  }
  TControl::Dispatch(msg);
}

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo info{"TCustomControl", &TWinControl::StaticClassInfo(), nullptr, {}};
  return info;
}
