// Skinners of the push-button-like controls that carry more than a caption: bit buttons (a
// glyph strip beside the caption), windowless speed buttons (painted through their parent's
// paint cycle) and menu buttons (a drop-down arrow after the caption), all drawn from the skin's
// "Buttons" element into an off-screen bitmap and copied to the screen in one block.
#pragma once
#include "WinSubClass.h"

#include <string>

class TBitmap;

// What the glyph-and-caption layout is computed from: client, glyph and measured text sizes,
// the control's Margin and Spacing (-1: automatic) and Layout (0 left, 1 right, 2 top,
// 3 bottom; any other value lays out as 0).
struct TGlyphLayoutInput {
  SIZE Client{};
  SIZE Glyph{};
  SIZE Text{};
  int Margin = -1;
  int Spacing = -1;
  int Layout = 0;
  bool AlignCentre = false; // the control's "Alignment" reads "tacenter" (bit buttons only)
  bool Speed = false;       // speed-button rule: a given Spacing with Margin -1 centres plus one
};

// Where glyph and caption go, the Margin and Spacing that were used, and the caption's format.
struct TGlyphPlacement {
  POINT Glyph{};
  POINT Text{};
  int Margin = 0;
  int Spacing = 0;
  UINT Format = DT_WORDBREAK;
};

// Lays out glyph and caption of a bit or speed button (divisions round toward zero).
TGlyphPlacement PlaceGlyph(const TGlyphLayoutInput& in);

// Layout of a menu button: glyph at the left, then the caption, then the drop-down arrow
// (Arrow is the arrow's centre; the arrow is kMenuArrow wide and high).
struct TMenuPlacement {
  POINT Glyph{};
  POINT Text{};
  POINT Arrow{};
  int Margin = 0;
  int Spacing = 0;
};
constexpr SIZE kMenuArrow{8, 3};
TMenuPlacement PlaceMenuGlyph(SIZE client, SIZE glyph, SIZE text, int margin, int spacing);

// Draws slice `slice` (from 1; the first when beyond the count) of a strip of `slices` glyphs at
// `at`, the slice's bottom-left colour transparent. Slice 2 of a one-slice strip is the strip
// engraved in grey (MakeDisabledGlyph).
void DrawGlyph(HDC dc, POINT at, int slices, int slice, TBitmap& image);
// The engraved grey look of a one-slice glyph: its shape (every pixel but the bottom-left
// colour) in the button-shadow colour over a button-highlight copy one pixel down and right,
// on the button-face colour.
TBitmap MakeDisabledGlyph(TBitmap& image);

// Bit buttons: the push-button face and state cell with a glyph slice (normal 1, disabled 2,
// down 3) laid out beside the caption by Margin, Spacing, Layout and Alignment.
class TSkinBitButton : public TSkinButton {
  TK_DECLARE_CLASS(TSkinBitButton)
public:
  using TSkinButton::TSkinButton;
  // The name of a graphic property drawn whole instead of the glyph strip; empty: the glyph.
  std::string ImageProperty;

protected:
  void DrawSkin(HDC dc, const RECT& rect) override;

  // What one paint of the face shows; the bit and speed painters fill it in.
  struct TFace {
    int Cell = 1;         // element cell (1..5)
    bool DrawCell = true; // flat speed buttons show the cell only when hot or down
    int Slice = 1;        // glyph slice
    bool Speed = false;   // speed-button layout rule, no Alignment, no focus frame
    COLORREF Text = 0;    // caption colour
    bool FocusFrame = false;
  };
  // The glyph drawn now (none: no glyph) and its slice count.
  TBitmap* FindGlyph(int& slices) const;
  // Paints background, cell, glyph and caption into an off-screen buffer and copies it to dc.
  void PaintFace(HDC dc, const RECT& rect, const TFace& face, TBitmap* glyph, int slices);
};

// Speed buttons: windowless, painted through the WM_PAINT their parent routes to them (and at
// once on presses, hovering and releases). State 1 normal, 2 down (pressed or Down), 3 disabled,
// 4 hot; Down draws glyph slice 4. The speed button's own handler is given back at unskin,
// release and destruction.
class TSkinSpeedButton : public TSkinBitButton {
  TK_DECLARE_CLASS(TSkinSpeedButton)
public:
  using TSkinBitButton::TSkinBitButton;
  // Takes over the owner (any toolkit control, windowless or not) through its WindowProc slot
  // and joins the form skinner's Controls list. A second attach does nothing.
  void AttachGraphic(TWinSkinForm* form, TSkinData* data);
  void Unskin() override;

  // The state (1 normal, 2 down, 3 disabled, 4 hot) and the glyph slice for it.
  int SpeedState() const;
  int SpeedSlice() const;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  // Paints into dc (the button's own coordinates), or, when null, into the parent's window.
  void PaintNow(HDC dc) override;

private:
  void Paint(HDC dc);
  bool FPainting = false;
};

// Menu buttons: the push-button face (focused shows the hot cell), an optional whole glyph at
// the left, the caption and a drop-down arrow after it.
class TSkinMenuButton : public TSkinButton {
  TK_DECLARE_CLASS(TSkinMenuButton)
public:
  using TSkinButton::TSkinButton;

protected:
  void DrawSkin(HDC dc, const RECT& rect) override;
};
