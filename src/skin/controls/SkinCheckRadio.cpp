#include "SkinCheckRadio.h"

#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Graphics.h"
#include "StdCtrls.h"

#include <algorithm>
#include <cctype>

namespace {
std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Major version 6 draws no focus frame around the caption of a check box or radio button.
bool NoCaptionFocusFrame() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
  return info.dwMajorVersion == 6;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TSkinCheckControl

const TClassInfo& TSkinCheckControl::StaticClassInfo() {
  static const TClassInfo info{"TSkinCheckControl", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinCheckControl::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, recolor);
  if (!Attached) return;
  int cells = 0;
  const TBitmap* strip = Strip(cells);
  Mode = strip ? 1 : 0;
  ParentLook = Control->Tag == 5555 || (data->Options() & SkinBit(xoTransparent)) != 0;
}

int TSkinCheckControl::LongStripCell(int cell) {
  switch (cell) {
  case 2:
    return 5;
  case 3:
    return 4;
  case 4:
    return 8;
  default:
    return cell;
  }
}

bool TSkinCheckControl::IsRightToLeft() const {
  return BiDiFlags(0) != 0;
}

bool TSkinCheckControl::BeforeMessage(TMessage& msg) {
  if (!TSkinControl::BeforeMessage(msg)) return false;
  switch (msg.Msg) {
  case WM_PAINT:
  case WM_PRINT:
  case WM_PRINTCLIENT:
    if (Mode != 1) return true;
    PaintWithBeginPaint(msg);
    return false;
  case WM_ERASEBKGND:
    if (Mode == 1) {
      // The whole control is painted from a buffer: nothing to erase first.
      msg.Result = 1;
      return false;
    }
    if (!ParentLook) return true;
    EraseWithParent(msg);
    return false;
  }
  return true;
}

void TSkinCheckControl::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case BM_SETCHECK:
  case BM_SETSTATE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_KEYUP:
  case CM_EXIT:
    Redraw();
    return;
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinCheckControl::DrawSkin(HDC dc, const RECT& rect) {
  int n = 0;
  const TBitmap* strip = SkinData ? Strip(n) : nullptr;
  if (!strip) {
    Mode = 0; // the system paints the control alone
    return;
  }
  const int w = strip->Width() / std::max(n, 1), h = strip->Height();
  const int cell = StateCell();
  const DWORD style = static_cast<DWORD>(ReadStyle(Handle, GWL_STYLE));
  const bool rtl = IsRightToLeft();

  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const int top = (height - h) / 2;
  RECT box{}, area{0, 0, width, height};
  UINT format = 0;
  if (style & BS_LEFTTEXT) {
    const int right = width - RightInset();
    box = {right - w, top, right, top + h};
    area.right = box.left - 2;
    if (rtl) format = DT_RIGHT | DT_RTLREADING;
  } else {
    box = {0, top, w, top + h};
    area.left = w + 2;
    if (rtl) format = DT_RTLREADING;
  }

  if (Mode != 1) {
    // Over the system's own painting: only the box.
    OffsetRect(&box, rect.left, rect.top);
    DrawSkinCell(dc, box, *strip, true, n, cell);
    return;
  }
  TPaintBuffer buffer(dc, width, height);
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  const RECT all{0, 0, width, height};
  if (ParentLook && Control)
    DrawParentImage(Control, mem);
  else
    FillFace(mem, all);
  DrawSkinCell(mem, box, *strip, true, n, cell);

  Caption = CaptionLines(ReadCaption());
  Enabled = (style & WS_DISABLED) == 0;
  Focused = GetFocus() == Handle;
  if (Control) {
    buffer.SelectFont(Control->Font.Handle());
    SetTextColor(mem, Enabled ? ColorToRGB(Control->Font.Color) : GetSysColor(COLOR_BTNSHADOW));
  } else {
    buffer.SelectFont(reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  }
  SetBkColor(mem, ColorToRGB(SkinData->Colours[scButtonFace]));
  DrawText(mem, area, format);
  BitBlt(dc, rect.left, rect.top, width, height, mem, 0, 0, SRCCOPY);
}

void TSkinCheckControl::DrawText(HDC dc, RECT area, UINT format) {
  SetBkMode(dc, TRANSPARENT);
  RECT measured = area;
  DrawTextW(dc, Caption.c_str(), -1, &measured,
            format | DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_EXPANDTABS);
  OffsetRect(&area, 0, (area.bottom - area.top - (measured.bottom - measured.top)) / 2);
  if (Focused && !Caption.empty() && !NoCaptionFocusFrame())
    DrawFocusFrame(dc, format | DT_WORDBREAK | DT_EXPANDTABS, area);
  DrawTextW(dc, Caption.c_str(), -1, &area, format | DT_WORDBREAK | DT_EXPANDTABS);
  SetBkMode(dc, OPAQUE);
}

// ---------------------------------------------------------------------------------------------
// TSkinCheckBox

const TClassInfo& TSkinCheckBox::StaticClassInfo() {
  static const TClassInfo info{"TSkinCheckBox", &TSkinCheckControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinCheckBox::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  CheckState = 0;
  TSkinCheckControl::AttachControl(form, data, recolor);
}

const TBitmap* TSkinCheckBox::Strip(int& cells) const {
  if (!SkinData || SkinData->Buttons.CheckImage.Empty()) return nullptr;
  cells = std::max(SkinData->Buttons.CheckFrameCount, 1);
  return &SkinData->Buttons.CheckImage;
}

int TSkinCheckBox::StateCell() {
  int n = 0;
  if (!Strip(n)) return 0;
  const LRESULT state = SendMessageW(Handle, BM_GETSTATE, 0, 0);
  int c = (state & BST_CHECKED) ? 2 : 1;
  if (Control) {
    bool found = false;
    const std::string value = Lower(GetPropValue(Control, "State", &found));
    if (found) {
      if (value.find("uncheck") != std::string::npos)
        c = 1;
      else if (value.find("check") != std::string::npos)
        c = 2;
      else if (value.find("gray") != std::string::npos)
        c = 4;
    } else if (IsPublishedProp(Control, "Checked")) {
      c = Lower(GetPropValue(Control, "Checked")) == "true" ? 2 : 1;
    }
    if (IsPublishedProp(Control, "DataField") && CheckState != 0)
      c = CheckState == 3 ? 4 : CheckState;
    if (IsPublishedProp(Control, "DataBinding")) c = 1;
  }
  const bool disabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  if (disabled) c += 2;
  const bool grayed = (state & BST_INDETERMINATE) != 0;
  if (grayed) c = 4;
  if (n == 12) {
    c = LongStripCell(std::min(c, 4));
    if (grayed) c = disabled ? 12 : 9;
  }
  return std::clamp(c, 1, n);
}

void TSkinCheckBox::AfterMessage(TMessage& msg) {
  if (msg.Msg == BM_SETCHECK) CheckState = static_cast<int>(msg.WParam) + 1;
  TSkinCheckControl::AfterMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// TSkinRadioButton

const TClassInfo& TSkinRadioButton::StaticClassInfo() {
  static const TClassInfo info{
      "TSkinRadioButton", &TSkinCheckControl::StaticClassInfo(), nullptr, {}};
  return info;
}

const TBitmap* TSkinRadioButton::Strip(int& cells) const {
  if (!SkinData || SkinData->Buttons.RadioImage.Empty()) return nullptr;
  cells = std::max(SkinData->Buttons.RadioFrameCount, 1);
  return &SkinData->Buttons.RadioImage;
}

int TSkinRadioButton::StateCell() {
  int n = 0;
  if (!Strip(n)) return 0;
  int c = (SendMessageW(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED) ? 2 : 1;
  if (Control && IsPublishedProp(Control, "Checked"))
    c = Lower(GetPropValue(Control, "Checked")) == "true" ? 2 : 1;
  if (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) c += 2;
  if (n == 8) c = LongStripCell(c);
  return std::clamp(c, 1, n);
}
