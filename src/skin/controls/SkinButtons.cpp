#include "SkinButtons.h"

#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Bitmap.h"
#include "Buttons.h"
#include "Handles.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool PropIs(const TObject* object, const char* name, const char* value) {
  return object && Lower(GetPropValue(object, name)) == value;
}

int LayoutOf(const TControl* control) {
  const std::string layout = Lower(GetPropValue(control, "Layout"));
  if (layout == "blglyphright") return 1;
  if (layout == "blglyphtop") return 2;
  if (layout == "blglyphbottom") return 3;
  return 0; // "blglyphleft", and a missing or unknown layout
}

// The glyph strip a control publishes as "Glyph" (the toolkit's bit and speed buttons); none
// when it has none or it is empty.
TBitmap* GlyphBitmap(TControl* control) {
  if (!control || GetPropValue(control, "Glyph").empty()) return nullptr;
  TBitmap* glyph = nullptr;
  if (auto* bit = dynamic_cast<TBitBtn*>(control))
    glyph = &bit->Glyph();
  else if (auto* speed = dynamic_cast<TSpeedButton*>(control))
    glyph = &speed->Glyph();
  return glyph && !glyph->Empty() ? glyph : nullptr;
}

// The graphic held in a named property. Of the toolkit's published properties only "Glyph"
// holds one.
TBitmap* GraphicProperty(TControl* control, const std::string& name) {
  return Lower(name) == "glyph" ? GlyphBitmap(control) : nullptr;
}

// The caption colour for a state cell, later rules winning: the control's font colour (the
// skin's ButtonText for a raw window), NormalColour2 (only in the normal cell when
// normalOnlyInNormal), the hot and down colours, button shadow when disabled.
COLORREF CaptionColour(const TSkinData& data, const TControl* control, int cell, bool disabled,
                       bool normalOnlyInNormal) {
  const TDataSkinButton& element = data.Buttons;
  COLORREF text =
      control ? ColorToRGB(control->Font.Color) : ColorToRGB(data.Colours[scButtonText]);
  if (element.HasNormalColour2 && (!normalOnlyInNormal || cell == 1))
    text = ColorToRGB(element.NormalColour2);
  if (cell == 4 && element.HasMouseOverColour2) text = ColorToRGB(element.MouseOverColour2);
  if (cell == 2 && element.HasPressedColour2) text = ColorToRGB(element.PressedColour2);
  if (disabled) text = GetSysColor(COLOR_BTNSHADOW);
  return text;
}

HFONT FontOf(const TControl* control, HWND wnd) {
  if (control) return const_cast<TControl*>(control)->Font.Handle();
  return wnd ? reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)) : nullptr;
}

SIZE MeasureText(HDC dc, const std::wstring& text, RECT area) {
  if (text.empty()) return {0, 0};
  DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_WORDBREAK);
  return {area.right - area.left, area.bottom - area.top};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Layout

TGlyphPlacement PlaceGlyph(const TGlyphLayoutInput& in) {
  TGlyphPlacement out;
  const int layout = in.Layout >= 0 && in.Layout <= 3 ? in.Layout : 0;
  const bool across = layout <= 1; // glyph and caption side by side
  if (across) {
    out.Glyph.y = (in.Client.cy - in.Glyph.cy + 1) / 2;
    out.Text.y = (in.Client.cy - in.Text.cy + 1) / 2;
  } else {
    out.Glyph.x = (in.Client.cx - in.Glyph.cx + 1) / 2;
    out.Text.x = (in.Client.cx - in.Text.cx + 1) / 2;
  }
  int margin = in.Margin, spacing = in.Spacing;
  if (in.Text.cx == 0 || in.Glyph.cx == 0) spacing = 0;
  const int c = across ? in.Client.cx : in.Client.cy;
  const int g = across ? in.Glyph.cx : in.Glyph.cy;
  const int s = across ? in.Text.cx : in.Text.cy;
  const bool centre = !in.Speed && in.AlignCentre;
  if (margin == -1 || centre) {
    if (spacing == -1) {
      margin = (c - (g + s)) / 3;
      spacing = margin;
    } else {
      margin = (c - (g + spacing + s)) / 2 + (in.Speed ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = (c - (margin + g) - s) / 2;
  }
  int glyph = 0, text = 0;
  if (layout == 0 || layout == 2) {
    glyph = margin;
    text = glyph + g + spacing;
  } else {
    glyph = c - margin - g;
    text = glyph - spacing - s;
  }
  if (layout == 1) out.Format |= DT_RIGHT;
  if (layout >= 2) out.Format |= DT_CENTER;
  (across ? out.Glyph.x : out.Glyph.y) = glyph;
  (across ? out.Text.x : out.Text.y) = text;
  out.Margin = margin;
  out.Spacing = spacing;
  return out;
}

TMenuPlacement PlaceMenuGlyph(SIZE client, SIZE glyph, SIZE text, int margin, int spacing) {
  TMenuPlacement out;
  const int content = glyph.cx + text.cx + kMenuArrow.cx;
  if (margin == -1 && spacing == -1) {
    margin = (client.cx - content) / 4;
    spacing = margin;
  } else if (margin == -1) {
    margin = (client.cx - (content + 2 * spacing)) / 2;
  } else if (spacing == -1) {
    // Both margins and the three gaps (glyph to caption, and twice caption to arrow) share what
    // the content leaves, so that the arrow stays inside the button.
    spacing = (client.cx - 2 * margin - content) / 3;
  }
  out.Margin = margin;
  out.Spacing = spacing;
  out.Glyph = {margin, (client.cy - glyph.cy) / 2};
  out.Text = {margin + glyph.cx + spacing, (client.cy - text.cy + 1) / 2};
  out.Arrow = {out.Text.x + text.cx + 2 * spacing, (client.cy - kMenuArrow.cy) / 2};
  return out;
}

// ---------------------------------------------------------------------------------------------
// Glyphs

TBitmap MakeDisabledGlyph(TBitmap& image) {
  const int w = image.Width(), h = image.Height();
  if (image.Empty() || w <= 0 || h <= 0) return {};
  TBitmap out(w, h);
  HDC source = image.CanvasHandle();
  HDC target = out.CanvasHandle();
  if (!source || !target) return {};
  const COLORREF key = GetPixel(source, 0, h - 1);
  {
    const TBrushHandle face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    const RECT all{0, 0, w, h};
    FillRect(target, &all, face.Get());
  }
  // The shape, white on black: the key colour turns white in a monochrome copy, then all is
  // inverted.
  const TMemoryDCHandle maskDC(CreateCompatibleDC(target));
  const TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  if (!maskDC || !mask) return {};
  {
    const TSelectObject selMask(maskDC.Get(), mask.Get());
    const COLORREF oldBk = SetBkColor(source, key);
    BitBlt(maskDC.Get(), 0, 0, w, h, source, 0, 0, NOTSRCCOPY);
    SetBkColor(source, oldBk);
    // Where the mask is white the brush is laid down, elsewhere the picture stays.
    constexpr DWORD kBrushThroughMask = 0x00E20746;
    SetTextColor(target, RGB(0, 0, 0));
    SetBkColor(target, RGB(255, 255, 255));
    for (const auto& [offset, colour] : {std::pair{1, COLOR_BTNHIGHLIGHT}, {0, COLOR_BTNSHADOW}}) {
      const TBrushHandle brush(CreateSolidBrush(GetSysColor(colour)));
      const TSelectObject selBrush(target, brush.Get());
      BitBlt(target, offset, offset, w - offset, h - offset, maskDC.Get(), 0, 0, kBrushThroughMask);
    }
  }
  image.ReleaseCanvas();
  out.ReleaseCanvas();
  return out;
}

void DrawGlyph(HDC dc, POINT at, int slices, int slice, TBitmap& image) {
  if (image.Empty()) return;
  slices = std::max(slices, 1);
  const int w = image.Width() / slices, h = image.Height();
  if (w <= 0 || h <= 0) return;
  if (slice == 2 && slices == 1) {
    TBitmap disabled = MakeDisabledGlyph(image);
    if (!disabled.Empty()) DrawGlyph(dc, at, 1, 1, disabled);
    return;
  }
  const int index = slice >= 1 && slice <= slices ? slice - 1 : 0;
  HDC source = image.CanvasHandle();
  if (!source) return;
  const COLORREF key = GetPixel(source, index * w, h - 1);
  TransparentBlt(dc, at.x, at.y, w, h, source, index * w, 0, w, h, key);
  image.ReleaseCanvas();
}

// ---------------------------------------------------------------------------------------------
// TSkinBitButton

const TClassInfo& TSkinBitButton::StaticClassInfo() {
  static const TClassInfo info{"TSkinBitButton", &TSkinButton::StaticClassInfo(), nullptr, {}};
  return info;
}

TBitmap* TSkinBitButton::FindGlyph(int& slices) const {
  slices = 1;
  if (!ImageProperty.empty()) return GraphicProperty(Control, ImageProperty);
  TBitmap* glyph = GlyphBitmap(Control);
  if (glyph) slices = std::max(GetOrdProp(Control, "NumGlyphs"), 1);
  return glyph;
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData || SkinData->Buttons.Image.Empty()) return;
  if (PaintTarget && PropIs(PaintTarget, "Visible", "false")) return;
  Focused = Handle && GetFocus() == Handle;
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Caption = ReadCaption();
  const bool imageVariant = !ImageProperty.empty();
  TFace face;
  if (!imageVariant) {
    face.Cell = StateCell();
  } else { // the "Default" property is not consulted
    face.Cell = !Enabled ? 3 : MouseFlags & mfDown ? 2 : MouseFlags & mfHot ? 4 : Focused ? 5 : 1;
  }
  face.Slice = face.Cell == 2 ? 3 : face.Cell == 3 ? 2 : 1;
  face.Text = CaptionColour(*SkinData, Control, face.Cell, face.Cell == 3, imageVariant);
  face.FocusFrame = true;
  int slices = 1;
  TBitmap* glyph = FindGlyph(slices);
  PaintFace(dc, rect, face, glyph, slices);
}

void TSkinBitButton::PaintFace(HDC dc, const RECT& rect, const TFace& face, TBitmap* glyph,
                               int slices) {
  const TDataSkinButton& element = SkinData->Buttons;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TPaintBuffer buffer(dc, w, h);
  buffer.SelectFont(FontOf(Control, Handle));
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  const RECT r{0, 0, w, h};
  if (ParentLook && Control)
    DrawParentImage(Control, mem);
  else
    FillFace(mem, r);
  if (face.DrawCell) DrawElement(mem, r, element.FrameCount, face.Cell, element);
  SetTextColor(mem, face.Text);

  if (face.Speed && !glyph) {
    DrawCaption(mem, r, DT_CENTER);
    BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
    return;
  }
  const SIZE g = glyph ? SIZE{glyph->Width() / std::max(slices, 1), glyph->Height()} : SIZE{0, 0};
  TGlyphLayoutInput in;
  in.Client = {w, h};
  in.Glyph = g;
  in.Layout = LayoutOf(Control);
  in.Margin = GetOrdProp(Control, "Margin");
  in.Spacing = GetOrdProp(Control, "Spacing");
  in.Speed = face.Speed;
  in.AlignCentre = !face.Speed && PropIs(Control, "Alignment", "tacenter");
  const std::wstring text = CaptionLines(Caption);
  RECT area{2, 2, w - 2, h - 2};
  if (in.Layout <= 1)
    area.right -= g.cx + 2;
  else
    area.bottom -= g.cy + 2;
  in.Text = MeasureText(mem, text, area);
  const TGlyphPlacement place = PlaceGlyph(in);

  if (glyph) DrawGlyph(mem, place.Glyph, slices, face.Slice, *glyph);
  if (!text.empty()) {
    RECT t{place.Text.x, place.Text.y, place.Text.x + in.Text.cx, place.Text.y + in.Text.cy};
    UINT format = place.Format;
    if (Handle && (GetWindowLongW(Handle, GWL_EXSTYLE) & WS_EX_RTLREADING)) format |= DT_RTLREADING;
    SetBkMode(mem, TRANSPARENT);
    DrawTextW(mem, text.c_str(), -1, &t, format);
    SetBkMode(mem, OPAQUE);
    if (face.FocusFrame && Focused && !(SkinData->Options() & SkinBit(xoNoFocusRect))) {
      InflateRect(&t, 2, 2);
      DrawFocusRect(mem, &t);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// TSkinSpeedButton

const TClassInfo& TSkinSpeedButton::StaticClassInfo() {
  static const TClassInfo info{"TSkinSpeedButton", &TSkinBitButton::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinSpeedButton::AttachGraphic(TWinSkinForm* form, TSkinData* data) {
  if (Attached || !data) return;
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control) return;
  SkinData = data;
  Form = form;
  PaintTarget = control;
  Handle = nullptr;
  Mode = 0;
  HoldSlot(control);
  if (Form) Form->AddControl(this);
  ParentLook = control->Tag == 5555 || (data->Options() & SkinBit(xoTransparent)) != 0;
  Attached = true;
  LifeState = 1;
  control->Invalidate();
}

void TSkinSpeedButton::Unskin() {
  TSkinBitButton::Unskin();
  ReleaseSlot();
  if (PaintTarget && !(PaintTarget->ComponentState & csDestroying)) PaintTarget->Invalidate();
}

int TSkinSpeedButton::SpeedState() const {
  const int base = MouseFlags & mfDown ? 2 : MouseFlags & mfHot ? 4 : 1;
  if (PropIs(PaintTarget, "Down", "true")) return 2;
  return PropIs(PaintTarget, "Enabled", "true") ? base : 3;
}

int TSkinSpeedButton::SpeedSlice() const {
  if (PropIs(PaintTarget, "Down", "true")) return 4;
  const int state = SpeedState();
  return state == 2 ? 3 : state == 3 ? 2 : 1;
}

void TSkinSpeedButton::Paint(HDC dc) {
  if (FPainting || !PaintTarget || !SkinData || SkinData->Buttons.Image.Empty()) return;
  if (PropIs(PaintTarget, "Visible", "false")) return;
  struct TGuard {
    bool& Flag;
    ~TGuard() { Flag = false; }
  } guard{FPainting};
  FPainting = true;
  RECT r = PaintTarget->ClientRect();
  OffsetRect(&r, -r.left, -r.top);
  if (IsRectEmpty(&r)) return;
  const TSavedDC saved(dc);
  Caption = ReadCaption();
  Focused = false; // speed buttons draw no focus frame
  Enabled = PropIs(PaintTarget, "Enabled", "true");
  int slices = 1;
  TBitmap* glyph = FindGlyph(slices);
  TFace face;
  face.Speed = true;
  face.Cell = SpeedState();
  face.DrawCell = face.Cell == 2 || face.Cell == 4 || !PropIs(PaintTarget, "Flat", "true");
  face.Slice = SpeedSlice();
  face.Text = CaptionColour(*SkinData, PaintTarget, face.Cell, !Enabled, glyph != nullptr);
  PaintFace(dc, r, face, glyph, slices);
}

void TSkinSpeedButton::PaintNow(HDC dc) {
  try {
    if (dc) {
      Paint(dc);
      return;
    }
    if (!PaintTarget || !PaintTarget->Visible()) return;
    // A windowed control (a speed button of another kind) is painted in its own window.
    if (auto* own = dynamic_cast<TWinControl*>(PaintTarget)) {
      if (!own->HandleAllocated()) return;
      const TClientDC client(own->WindowHandle());
      if (client) Paint(client.DC());
      return;
    }
    TWinControl* parent = PaintTarget->Parent();
    if (!parent || !parent->HandleAllocated()) return;
    const TClientDC client(parent->WindowHandle());
    if (!client) return;
    const RECT b = PaintTarget->BoundsRect();
    IntersectClipRect(client.DC(), b.left, b.top, b.right, b.bottom);
    SetViewportOrgEx(client.DC(), b.left, b.top, nullptr);
    Paint(client.DC());
  } catch (...) {
  }
}

bool TSkinSpeedButton::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    if (HDC dc = reinterpret_cast<HDC>(msg.WParam)) {
      PaintNow(dc);
    } else if (auto* own = dynamic_cast<TWinControl*>(PaintTarget); own && own->HandleAllocated()) {
      // A window's paint without a context still validates it, so that it is not asked again.
      const TPaintDC paint(own->WindowHandle());
      if (paint.DC()) PaintNow(paint.DC());
    }
    msg.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    CallPrevious(msg); // the speed button handles its press itself
    MouseFlags |= mfDown;
    PaintNow(nullptr);
    return false;
  case WM_TIMER:
  case WM_MOUSEMOVE:
    return true; // no window timer to stop, no window to track the pointer with
  }
  return TSkinBitButton::BeforeMessage(msg);
}

void TSkinSpeedButton::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_LBUTTONUP:
    MouseFlags &= static_cast<BYTE>(~mfDown);
    PaintNow(nullptr);
    return;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (msg.WParam != VK_SPACE) return;
    if (msg.Msg == WM_KEYDOWN)
      MouseFlags |= mfDown;
    else
      MouseFlags &= static_cast<BYTE>(~mfDown);
    PaintNow(nullptr);
    return;
  case CM_MOUSEENTER:
    MouseFlags |= mfHot;
    PaintNow(nullptr);
    return;
  case CM_MOUSELEAVE:
    MouseFlags &= static_cast<BYTE>(~(mfHot | mfDown));
    if (PaintTarget && PaintTarget->Visible()) PaintNow(nullptr);
    return;
  case WM_ENABLE:
  case CM_FOCUSCHANGED:
  case CM_ENABLEDCHANGED:
  case WM_MOUSEMOVE:
  case WM_MOUSELEAVE:
    return;
  case WM_NCDESTROY:
  case CM_RELEASE:
    ReleaseSlot();
    return;
  }
  TSkinBitButton::AfterMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// TSkinMenuButton

const TClassInfo& TSkinMenuButton::StaticClassInfo() {
  static const TClassInfo info{"TSkinMenuButton", &TSkinButton::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinMenuButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!SkinData || SkinData->Buttons.Image.Empty()) return;
  const TDataSkinButton& element = SkinData->Buttons;
  Focused = GetFocus() == Handle;
  Enabled = (ReadStyle(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Caption = ReadCaption();
  const int cell = !Enabled                             ? 3
                   : MouseFlags & mfDown                ? 2
                   : (MouseFlags & mfHot) || Focused    ? 4
                   : PropIs(Control, "Default", "true") ? 5
                                                        : 1;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TPaintBuffer buffer(dc, w, h);
  buffer.SelectFont(FontOf(Control, Handle));
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  const RECT r{0, 0, w, h};
  if (ParentLook && Control)
    DrawParentImage(Control, mem);
  else
    FillFace(mem, r);
  DrawElement(mem, r, element.FrameCount, cell, element);

  TBitmap* glyph = GlyphBitmap(Control);
  const SIZE g = glyph ? SIZE{glyph->Width(), glyph->Height()} : SIZE{0, 0};
  const std::wstring text = CaptionLines(Caption);
  RECT area{0, 0, w - g.cx - kMenuArrow.cx, h};
  InflateRect(&area, -2, -2);
  const SIZE s = MeasureText(mem, text, area);
  const TMenuPlacement place =
      PlaceMenuGlyph({w, h}, g, s, GetOrdProp(Control, "Margin"), GetOrdProp(Control, "Spacing"));
  if (glyph) DrawGlyph(mem, place.Glyph, 1, 1, *glyph);

  const COLORREF ink = Enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_BTNSHADOW);
  {
    const TBrushHandle brush(CreateSolidBrush(ink));
    const TPenHandle pen(CreatePen(PS_SOLID, 1, ink));
    const TSelectObject selBrush(mem, brush.Get());
    const TSelectObject selPen(mem, pen.Get());
    const POINT x = place.Arrow;
    const POINT arrow[3] = {{x.x, x.y + 2}, {x.x - 3, x.y - 1}, {x.x + 3, x.y - 1}};
    Polygon(mem, arrow, 3);
  }
  if (!text.empty()) {
    SetTextColor(mem, CaptionColour(*SkinData, Control, cell, !Enabled, false));
    RECT t{place.Text.x, place.Text.y, place.Text.x + s.cx, place.Text.y + s.cy};
    SetBkMode(mem, TRANSPARENT);
    DrawTextW(mem, text.c_str(), -1, &t, DT_WORDBREAK);
    SetBkMode(mem, OPAQUE);
    if (Focused && !(SkinData->Options() & SkinBit(xoNoFocusRect))) {
      InflateRect(&t, 2, 2);
      DrawFocusRect(mem, &t);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}
