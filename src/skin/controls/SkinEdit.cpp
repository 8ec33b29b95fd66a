#include "SkinEdit.h"

#include "SkinCombo.h"

#include "WinSkinData.h"

#include "Graphics.h"

#include <cctype>
#include <string>

namespace {
void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

// Whether the window has a border around its client area at least `extra` pixels wider (and
// higher) than the client.
bool HasBorder(HWND wnd, const RECT& window, int extra) {
  RECT client{};
  if (!GetClientRect(wnd, &client)) return false;
  return client.right + extra < window.right - window.left &&
         client.bottom + extra < window.bottom - window.top;
}
} // namespace

const TClassInfo& TSkinEdit::StaticClassInfo() {
  static const TClassInfo info{"TSkinEdit", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

bool TSkinEdit::BeforeMessage(TMessage& msg) {
  if (msg.Msg == SKM_PAINTCLIENT && msg.LParam == SKM_SKINNED_MAGIC) {
    // The engine prints the window: the edit paints its client into the given context.
    if (msg.WParam) {
      TMessage paint{WM_PAINT, msg.WParam, 0, 0};
      CallPrevious(paint);
    }
    msg.Result = SKM_SKINNED_MAGIC;
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinEdit::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PRINT:
    try {
      PrintFrame(reinterpret_cast<HDC>(msg.WParam));
    } catch (...) {
    }
    return;
  case WM_NCPAINT:
    // The system drew its sunken border again.
    PaintNow(nullptr);
    return;
  }
  TSkinControl::AfterMessage(msg);
}

TSkinEdit::~TSkinEdit() {
  TSkinControl::Free(UpDown);
}

void TSkinEdit::Unskin() {
  TSkinControl::Unskin();
  TSkinUpDown* spin = UpDown;
  UpDown = nullptr;
  if (!spin) return;
  if (spin->LifeState != 6) spin->Unskin();
  TSkinControl::Free(spin);
}

void TSkinEdit::AdoptUpDown() {
  if (UpDown || !SkinData) return;
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char buf[101] = {};
    GetClassNameA(child, buf, sizeof buf);
    std::string name = buf;
    for (char& c : name)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
        name.find("updown") == std::string::npos)
      continue;
    // Not in the form's list: this skinner owns it.
    auto* spin = new TSkinUpDown(nullptr);
    spin->InEdit = true;
    spin->AttachHandle(child, SkinData, nullptr);
    if (!spin->Attached) {
      delete spin;
      return;
    }
    UpDown = spin;
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData) return;
  if ((SkinData->SkinControls() & SkinBit(xcSpin)) && !UpDown) AdoptUpDown();
  if (!HasBorder(Handle, rect, 0)) return;
  RECT r = rect;
  FrameWith(dc, r, ColorToRGB(SkinData->Colours[scButtonShadow]));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, RGB(255, 255, 255));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, RGB(255, 255, 255));
}

void TSkinEdit::PrintFrame(HDC dc) {
  if (!SkinData) return;
  RECT r{};
  if (!GetWindowRect(Handle, &r)) return;
  WindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  if (!HasBorder(Handle, r, 2)) return;
  const bool own = dc == nullptr;
  if (own) dc = GetWindowDC(Handle);
  if (!dc) return;
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameWith(dc, r, ColorToRGB(SkinData->Colours[scButtonShadow]));
  if (own) ReleaseDC(Handle, dc);
}
