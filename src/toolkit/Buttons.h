// Buttons with a glyph beside their caption: the bitmap button (an owner-drawn push button) and
// the windowless speed button.
#pragma once
#include "Bitmap.h"
#include "StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

// The glyph and caption settings the two buttons share, published under the same names.
struct TGlyphLayout {
  TBitmap Glyph; // empty: caption only; its bottom-left pixel is the transparent colour
  int Layout = blGlyphLeft;
  int Margin = -1; // pixels from the edge to the glyph; -1 centres glyph and caption together
  int Spacing = 4; // pixels between glyph and caption
  int NumGlyphs = 1;
  // Draws glyph and caption into r; a disabled button's caption is grey.
  void Draw(HDC dc, RECT r, const std::string& caption, HFONT font, bool enabled, TColor textColor);
};

// A push button that draws a glyph beside its caption; Kind gives a stock caption and result.
class TBitBtn : public TButton {
  TK_DECLARE_CLASS(TBitBtn)
public:
  explicit TBitBtn(TComponent* owner);
  int Kind() const { return FKind; }
  // A stock kind sets the caption ("OK", "Cancel", ...) unless the caption was set already.
  void SetKind(int v);
  int Layout() const { return FGlyph.Layout; }
  void SetLayout(int v);
  int Margin() const { return FGlyph.Margin; }
  void SetMargin(int v);
  int Spacing() const { return FGlyph.Spacing; }
  void SetSpacing(int v);
  int NumGlyphs() const { return FGlyph.NumGlyphs; }
  void SetNumGlyphs(int v);
  TBitmap& Glyph() { return FGlyph.Glyph; }
  void SetGlyph(const TBitmap& glyph);

protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  int FKind = bkCustom;
  TGlyphLayout FGlyph;
};

// A windowless button drawn by its parent: raised (or flat until the pointer is over it), sunk
// while pressed or Down. With a GroupIndex it stays down, and one of its group is down at a time.
class TSpeedButton : public TGraphicControl {
  TK_DECLARE_CLASS(TSpeedButton)
public:
  explicit TSpeedButton(TComponent* owner);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  bool Down() const { return FDown; }
  // Setting Down raises the other buttons of the group.
  void SetDown(bool v);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  int Layout() const { return FGlyph.Layout; }
  void SetLayout(int v);
  int Margin() const { return FGlyph.Margin; }
  void SetMargin(int v);
  int Spacing() const { return FGlyph.Spacing; }
  void SetSpacing(int v);
  int NumGlyphs() const { return FGlyph.NumGlyphs; }
  void SetNumGlyphs(int v);
  TBitmap& Glyph() { return FGlyph.Glyph; }
  void SetGlyph(const TBitmap& glyph);
  void Click() override;

protected:
  void Dispatch(TMessage& msg) override;
  void Paint(HDC dc) override;
  bool FFlat = false, FDown = false, FAllowAllUp = false, FTransparent = false;
  bool FPressed = false;
  int FGroupIndex = 0;
  TGlyphLayout FGlyph;
};
