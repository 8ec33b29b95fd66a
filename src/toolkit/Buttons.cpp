#include "Buttons.h"

#include <algorithm>

static const std::vector<const char*> kLayouts{"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                               "blGlyphBottom"};
static const std::vector<const char*> kBitBtnKinds{"bkCustom", "bkOK",     "bkCancel", "bkHelp",
                                                   "bkYes",    "bkNo",     "bkClose",  "bkAbort",
                                                   "bkRetry",  "bkIgnore", "bkAll"};

namespace {
// "Glyph": stored as a signed 32-bit length and the bytes of a bitmap file; reads as "(bitmap)"
// when there is one.
template <class C>
TPropInfo GlyphProp() {
  TPropInfo p;
  p.Name = "Glyph";
  p.Kind = pkBinary;
  p.Get = [](const TObject* o) {
    return std::string(const_cast<C*>(static_cast<const C*>(o))->Glyph().Empty() ? "" : "(bitmap)");
  };
  p.SetBinary = [](TObject* o, const std::vector<uint8_t>& stored) {
    TBitmap glyph;
    if (stored.size() < 4 || !glyph.LoadFromStream(stored.data() + 4, stored.size() - 4))
      throw Exception("Glyph is no bitmap");
    static_cast<C*>(o)->SetGlyph(glyph);
  };
  return p;
}

// The glyph settings both buttons publish.
template <class C>
std::vector<TPropInfo> GlyphProps() {
  return {EnumProp("Layout", &kLayouts, &C::Layout, &C::SetLayout),
          IntProp("Margin", &C::Margin, &C::SetMargin),
          IntProp("Spacing", &C::Spacing, &C::SetSpacing),
          IntProp("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs), GlyphProp<C>()};
}
} // namespace

void TGlyphLayout::Draw(HDC dc, RECT r, const std::string& caption, HFONT font, bool enabled,
                        TColor textColor) {
  TSelectObject selFont(dc, font);
  RECT textRect{0, 0, 0, 0};
  if (!caption.empty())
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_CALCRECT | DT_SINGLELINE);
  const int frames = std::max(1, NumGlyphs);
  const int gw = Glyph.Empty() ? 0 : Glyph.Width() / frames,
            gh = Glyph.Empty() ? 0 : Glyph.Height();
  const int tw = textRect.right, th = textRect.bottom;
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  const int gap = gw && tw ? Spacing : 0;
  const int totalW = horizontal ? gw + gap + tw : std::max(gw, tw);
  const int totalH = horizontal ? std::max(gh, th) : gh + gap + th;
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = r.left + (w - totalW) / 2, y = r.top + (h - totalH) / 2;
  if (Margin >= 0) {
    if (Layout == blGlyphLeft) x = r.left + Margin;
    if (Layout == blGlyphRight) x = r.right - Margin - totalW;
    if (Layout == blGlyphTop) y = r.top + Margin;
    if (Layout == blGlyphBottom) y = r.bottom - Margin - totalH;
  }
  POINT gp{}, tp{};
  switch (Layout) {
  case blGlyphRight:
    tp = {x, y + (totalH - th) / 2};
    gp = {x + tw + gap, y + (totalH - gh) / 2};
    break;
  case blGlyphTop:
    gp = {x + (totalW - gw) / 2, y};
    tp = {x + (totalW - tw) / 2, y + gh + gap};
    break;
  case blGlyphBottom:
    tp = {x + (totalW - tw) / 2, y};
    gp = {x + (totalW - gw) / 2, y + th + gap};
    break;
  default:
    gp = {x, y + (totalH - gh) / 2};
    tp = {x + gw + gap, y + (totalH - th) / 2};
  }
  if (gw) {
    // The second frame, when there is one, is the disabled look.
    const int frame = !enabled && frames > 1 ? 1 : 0;
    const COLORREF key = GetPixel(Glyph.CanvasHandle(), 0, Glyph.Height() - 1);
    TransparentBlt(dc, gp.x, gp.y, gw, gh, Glyph.CanvasHandle(), frame * gw, 0, gw, gh, key);
    Glyph.ReleaseCanvas();
  }
  if (tw) {
    SetBkMode(dc, TRANSPARENT);
    RECT t{tp.x, tp.y, tp.x + tw, tp.y + th};
    if (!enabled) {
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      OffsetRect(&t, 1, 1);
      DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &t, DT_SINGLELINE);
      OffsetRect(&t, -1, -1);
    }
    SetTextColor(dc, ColorToRGB(enabled ? textColor : clGrayText));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &t, DT_SINGLELINE);
  }
}

// ---------------------------------------------------------------------------------------------
// Bitmap buttons

const TClassInfo& TBitBtn::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TBitBtn", &TButton::StaticClassInfo(),
                 [](TComponent* o) -> TComponent* { return new TBitBtn(o); },
                 GlyphProps<TBitBtn>()};
    i.Props.push_back(EnumProp("Kind", &kBitBtnKinds, &TBitBtn::Kind, &TBitBtn::SetKind));
    return i;
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(int v) {
  static const char* const captions[] = {"",       "OK",    "Cancel", "&Help",   "&Yes", "&No",
                                         "&Close", "Abort", "&Retry", "&Ignore", "&All"};
  FKind = std::clamp(v, 0, static_cast<int>(bkAll));
  if (FKind != bkCustom && GetText().empty()) SetText(captions[FKind]);
  if (FKind == bkOK || FKind == bkYes) SetDefault(true);
}

void TBitBtn::SetLayout(int v) {
  FGlyph.Layout = v;
  Invalidate();
}
void TBitBtn::SetMargin(int v) {
  FGlyph.Margin = v;
  Invalidate();
}
void TBitBtn::SetSpacing(int v) {
  FGlyph.Spacing = v;
  Invalidate();
}
void TBitBtn::SetNumGlyphs(int v) {
  FGlyph.NumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}
void TBitBtn::SetGlyph(const TBitmap& glyph) {
  FGlyph.Glyph = glyph;
  Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~0xFu) | BS_OWNERDRAW;
}

void TBitBtn::Dispatch(TMessage& msg) {
  if (msg.Msg == CN_DRAWITEM) {
    const DRAWITEMSTRUCT* di = TWMDrawItem(msg).DrawItemStruct;
    RECT r = di->rcItem;
    const bool pushed = di->itemState & ODS_SELECTED;
    FillRect(di->hDC, &r, Brush());
    DrawFrameControl(di->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    InflateRect(&r, -3, -3);
    if (pushed) OffsetRect(&r, 1, 1);
    FGlyph.Draw(di->hDC, r, GetText(), Font.Handle(), FEnabled, Font.Color);
    if (di->itemState & ODS_FOCUS) DrawFocusRect(di->hDC, &r);
    msg.Result = TRUE;
    return;
  }
  TButton::Dispatch(msg);
}

// ---------------------------------------------------------------------------------------------
// Speed buttons

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TSpeedButton", &TGraphicControl::StaticClassInfo(),
                 [](TComponent* o) -> TComponent* { return new TSpeedButton(o); },
                 GlyphProps<TSpeedButton>()};
    for (TPropInfo p :
         {BoolProp("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
          BoolProp("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
          BoolProp("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
          BoolProp("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent),
          IntProp("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)})
      i.Props.push_back(p);
    return i;
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 23;
  FHeight = 22;
}

void TSpeedButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}
void TSpeedButton::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}
void TSpeedButton::SetLayout(int v) {
  FGlyph.Layout = v;
  Invalidate();
}
void TSpeedButton::SetMargin(int v) {
  FGlyph.Margin = v;
  Invalidate();
}
void TSpeedButton::SetSpacing(int v) {
  FGlyph.Spacing = v;
  Invalidate();
}
void TSpeedButton::SetNumGlyphs(int v) {
  FGlyph.NumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}
void TSpeedButton::SetGlyph(const TBitmap& glyph) {
  FGlyph.Glyph = glyph;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (v == FDown) return;
  FDown = v;
  if (v && FGroupIndex && FParent)
    for (TControl* c : FParent->Controls())
      if (auto* other = dynamic_cast<TSpeedButton*>(c);
          other && other != this && other->FGroupIndex == FGroupIndex)
        if (other->FDown) {
          other->FDown = false;
          other->Invalidate();
        }
  Invalidate();
}

void TSpeedButton::Click() {
  if (FGroupIndex) {
    if (!FDown)
      SetDown(true);
    else if (FAllowAllUp)
      SetDown(false);
  }
  TGraphicControl::Click();
}

void TSpeedButton::Dispatch(TMessage& msg) {
  switch (msg.Msg) {
  case WM_LBUTTONDOWN:
    if (FEnabled) {
      FPressed = true;
      Invalidate();
    }
    return;
  case WM_LBUTTONUP:
    if (FPressed) {
      FPressed = false;
      Invalidate();
      const POINT p = TWMMouse(msg).Pos();
      RECT r = ClientRect();
      if (PtInRect(&r, p)) Click();
    }
    return;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    if (FFlat) Invalidate();
    break;
  }
  TGraphicControl::Dispatch(msg);
}

void TSpeedButton::Paint(HDC dc) {
  RECT r = ClientRect();
  if (!FTransparent) {
    const TBrushHandle brush(CreateSolidBrush(ColorToRGB(FColor)));
    FillRect(dc, &r, brush.Get());
  }
  const bool sunk = FPressed || FDown;
  if (sunk)
    DrawEdge(dc, &r, FFlat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!FFlat || (FMouseInControl && FEnabled))
    DrawEdge(dc, &r, FFlat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  InflateRect(&r, -2, -2);
  if (sunk) OffsetRect(&r, 1, 1);
  FGlyph.Draw(dc, r, GetText(), Font.Handle(), FEnabled, Font.Color);
}
