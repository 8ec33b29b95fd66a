#include "SkinDateTime.h"

#include "SkinDraw.h"
#include "WinSkinData.h"

#include <windowsx.h>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TArrowButton

const TClassInfo& TArrowButton::StaticClassInfo() {
  static const TClassInfo info{"TArrowButton", &TCustomControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner) {
  TabStop = false;
  FArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
}

void TArrowButton::Attach(TSkinDateTime* skinner, TWinControl* picker) {
  FSkinner = skinner;
  FPicker = picker;
  FPickerHandle = picker ? picker->Handle() : nullptr;
  if (!FPickerHandle) return;
  SetParent(picker);
  RECT r{};
  GetWindowRect(FPickerHandle, &r);
  const int width = r.right - r.left;
  const bool left = GetWindowLongW(FPickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  SetBounds(left ? 2 : width - FArrowWidth - 4, 0, FArrowWidth,
            std::max<int>(r.bottom - r.top - 4, 0));
  const LONG style = GetWindowLongW(FPickerHandle, GWL_STYLE);
  SetWindowLongW(FPickerHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
}

void TArrowButton::MoveFor(int width) {
  if (!FPickerHandle) return;
  const bool left = GetWindowLongW(FPickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  const int x = left ? 2 : width - FArrowWidth - 4;
  if (x != Left()) SetLeft(x);
}

bool TArrowButton::PickerEnabled() const {
  return FPickerHandle && IsWindowEnabled(FPickerHandle);
}

void TArrowButton::WndProc(TMessage& msg) {
  switch (msg.Msg) {
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    TCustomControl::WndProc(msg);
    if (PickerEnabled()) {
      FHot = msg.Msg == CM_MOUSEENTER ? 1 : 0;
      Invalidate();
    }
    return;
  case WM_LBUTTONDOWN: {
    TCustomControl::WndProc(msg);
    if (!FPickerHandle) return;
    const int x = GET_X_LPARAM(msg.LParam) + Left(), y = GET_Y_LPARAM(msg.LParam) + Top();
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(FPickerHandle, WM_LBUTTONDOWN, msg.WParam, at);
    PostMessageW(FPickerHandle, WM_LBUTTONUP, msg.WParam & ~WPARAM(MK_LBUTTON), at);
    Invalidate();
    return;
  }
  case WM_LBUTTONUP:
    TCustomControl::WndProc(msg);
    if (FPickerHandle && IsWindow(FPickerHandle)) ::SetFocus(FPickerHandle);
    return;
  }
  TCustomControl::WndProc(msg);
}

void TArrowButton::Paint(HDC dc) {
  const TSkinData* data = FSkinner ? FSkinner->SkinData : nullptr;
  RECT picker{};
  if (FPickerHandle) GetWindowRect(FPickerHandle, &picker);
  const RECT r{0, 0, Width(), std::max<int>(picker.bottom - picker.top - 4, 0)};
  if (!data) return;
  HBRUSH face = CreateSolidBrush(ColorToRGB(data->Colours[scButtonFace]));
  if (face) {
    FillRect(dc, &r, face);
    DeleteObject(face);
  }
  const TDataSkinObject* arrow = data->ComboxArrow.get();
  if (arrow && !arrow->Image.Empty())
    DrawSkinCell(dc, r, arrow->Image, false, std::max(arrow->FrameCount, 1), Hot() ? 4 : 1);
}

// ---------------------------------------------------------------------------------------------
// TSkinDateTime

const TClassInfo& TSkinDateTime::StaticClassInfo() {
  static const TClassInfo info{"TSkinDateTime", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinDateTime::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  auto* picker = dynamic_cast<TWinControl*>(Control);
  if (!Attached || !picker) return;
  FArrow = new TArrowButton(this);
  FArrow->Attach(this, picker);
}

void TSkinDateTime::Unskin() {
  if (!Active) return;
  TSkinControl::Unskin();
  if (FArrow && LifeState != 6 && !(FArrow->ComponentState & csDestroying)) FArrow->Hide();
}

void TSkinDateTime::AfterMessage(TMessage& msg) {
  if (msg.Msg == WM_SIZE) {
    if (FArrow) FArrow->Invalidate();
    return;
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinDateTime::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  if (FArrow) FArrow->MoveFor(rect.right - rect.left);
  RECT client{};
  if (!GetClientRect(Handle, &client)) return;
  if (client.right >= rect.right - rect.left || client.bottom >= rect.bottom - rect.top) return;
  HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->Colours[scButtonShadow]));
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT r = rect;
  if (shadow) FrameRect(dc, &r, shadow);
  InflateRect(&r, -1, -1);
  if (white) FrameRect(dc, &r, white);
  if (shadow) DeleteObject(shadow);
  if (white) DeleteObject(white);
}
